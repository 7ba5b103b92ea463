#include "logging.h"

Q_LOGGING_CATEGORY(lcIpc, "korvex.ipc")
Q_LOGGING_CATEGORY(lcPages, "korvex.pages")
Q_LOGGING_CATEGORY(lcMain, "korvex.main")
Q_LOGGING_CATEGORY(lcPopup, "popup")
Q_LOGGING_CATEGORY(lcListen, "listen")
Q_LOGGING_CATEGORY(lcUpdater, "updater")
Q_LOGGING_CATEGORY(lcPlatform, "korvex.platform")
Q_LOGGING_CATEGORY(lcTickerRows, "korvex.ticker.rows", QtInfoMsg)
