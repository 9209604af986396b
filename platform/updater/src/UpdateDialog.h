#pragma once

#include "foundation/URL.h"

#include <QString>

#include <functional>
#include <optional>

class QDialog;

namespace updater {

// What the standard driver's dialog shows; empty texts are left out.
struct UpdateDialogContent {
    QString heading;
    QString message;
    QString notes;          // plain text, in a scrolling box
    QString downloadedFile; // with the line on installing
    bool offersUpdate = false;
    std::optional<foundation::URL> downloadPage; // offered with "Open Download Page"
};

// The main bundle's translation of an English text.
QString localized(const char* text);

// A dialog that deletes itself when closed. Its parts are named for tests: "heading", "message",
// "notes", "downloadedFile", and the buttons "openDownloadPage", "later", "ok".
QDialog* makeUpdateDialog(const UpdateDialogContent& content,
                          const std::function<bool(const foundation::URL&)>& openURL);

} // namespace updater
