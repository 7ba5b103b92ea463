#include "logging.h"

// Debug messages (per item, per page load, per log write) are off unless
// QT_LOGGING_RULES turns them on: a client runs all day and would otherwise
// fill the desktop's journal. Information and warnings stay on.
Q_LOGGING_CATEGORY(lcIpc, "korvex.ipc", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPages, "korvex.pages", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMain, "korvex.main", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPopup, "popup", QtInfoMsg)
Q_LOGGING_CATEGORY(lcListen, "listen", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUpdater, "updater", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlatform, "korvex.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(lcTickerRows, "korvex.ticker.rows", QtInfoMsg)
