#include "main/mainpagebridge.h"

MainPageBridge::MainPageBridge(QObject *parent)
    : QObject(parent)
{
}
