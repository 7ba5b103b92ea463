#pragma once

#include <QLoggingCategory>

// One category per component; the message texts themselves are fixed by the protocol.
// Debug messages are off by default (QT_LOGGING_RULES="korvex.*.debug=true;popup.debug=true"
// turns them on); information and warnings are shown.
Q_DECLARE_LOGGING_CATEGORY(lcIpc)
Q_DECLARE_LOGGING_CATEGORY(lcPages)
Q_DECLARE_LOGGING_CATEGORY(lcMain)
Q_DECLARE_LOGGING_CATEGORY(lcPopup)
Q_DECLARE_LOGGING_CATEGORY(lcListen)
Q_DECLARE_LOGGING_CATEGORY(lcUpdater)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
// One line per ticker row, for runs that watch the client from outside
// (QT_LOGGING_RULES="korvex.ticker.rows.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcTickerRows)
