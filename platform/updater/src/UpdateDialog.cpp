#include "UpdateDialog.h"

#include "foundation/Bundle.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace updater {

namespace {

constexpr int iconSize = 64;
constexpr int textWidth = 380;

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    label->setTextFormat(Qt::PlainText); // feed text is never markup
    label->setWordWrap(true);
    label->setFixedWidth(textWidth);
    return label;
}

QPushButton* button(QDialogButtonBox* box, const char* title, const char* name,
                    QDialogButtonBox::ButtonRole role) {
    auto* button = box->addButton(localized(title), role);
    button->setObjectName(QLatin1StringView(name));
    return button;
}

} // namespace

QString localized(const char* text) {
    return QString::fromStdString(foundation::Bundle::main()->localizedString(text));
}

QDialog* makeUpdateDialog(const UpdateDialogContent& content,
                          const std::function<bool(const foundation::URL&)>& openURL) {
    auto* dialog = new QDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(localized("Software Update"));

    auto* text = new QVBoxLayout;
    auto* heading = label(content.heading, "heading", dialog);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    heading->setFont(bold);
    text->addWidget(heading);
    if (!content.message.isEmpty()) text->addWidget(label(content.message, "message", dialog));
    if (!content.notes.isEmpty()) {
        text->addSpacing(4);
        text->addWidget(label(localized("Release notes:"), "notesTitle", dialog));
        auto* notes = new QPlainTextEdit(content.notes, dialog);
        notes->setObjectName(QLatin1StringView("notes"));
        notes->setReadOnly(true);
        notes->setFixedSize(textWidth, 160);
        text->addWidget(notes);
    }
    if (!content.downloadedFile.isEmpty()) {
        text->addSpacing(4);
        auto* file =
            label(localized("Downloaded to %1").arg(content.downloadedFile), "downloadedFile", dialog);
        file->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->addWidget(file);
        text->addWidget(label(localized("Install it with your package manager."), "installHint", dialog));
    }

    auto* icon = new QLabel(dialog);
    const QIcon appIcon = QApplication::windowIcon();
    icon->setPixmap(
        (appIcon.isNull() ? dialog->style()->standardIcon(QStyle::SP_MessageBoxInformation) : appIcon)
            .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(text);

    auto* buttons = new QDialogButtonBox(dialog);
    if (content.offersUpdate) {
        if (content.downloadPage) {
            auto* open =
                button(buttons, "Open Download Page", "openDownloadPage", QDialogButtonBox::AcceptRole);
            QObject::connect(open, &QPushButton::clicked, dialog,
                             [dialog, page = *content.downloadPage, openURL] {
                                 if (openURL) openURL(page);
                                 dialog->close();
                             });
        }
        auto* later = button(buttons, "Later", "later", QDialogButtonBox::RejectRole);
        later->setDefault(!content.downloadPage);
        QObject::connect(later, &QPushButton::clicked, dialog, &QDialog::close);
    } else {
        auto* ok = button(buttons, "OK", "ok", QDialogButtonBox::AcceptRole);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::close);
    }

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(row);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return dialog;
}

} // namespace updater
