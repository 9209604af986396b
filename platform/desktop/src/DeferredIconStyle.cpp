#include "DeferredIconStyle.h"

#include "desktop/RunApp.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

#include <functional>
#include <optional>

namespace desktop {

namespace {

// An icon made by `make` when it is first asked for anything.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& icon() {
        if (!icon_) icon_ = make_();
        return *icon_;
    }

    std::function<QIcon()> make_;
    std::optional<QIcon> icon_;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle.isEmpty() ? nullptr : QStyleFactory::create(baseStyle)) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    // What the base reads (the layout direction) is kept as it is now; the widget only while
    // it lives.
    std::optional<QStyleOption> kept;
    if (option) kept = *option;
    return QIcon(new DeferredIconEngine([style = QPointer<const DeferredIconStyle>(this), which, kept,
                                         widget = QPointer<const QWidget>(widget)] {
        const QStyleOption* option = kept ? &*kept : nullptr;
        // A style replaced meanwhile: the icon of the one drawing now.
        if (!style) return QApplication::style()->standardIcon(which, option, widget.data());
        return style->baseStyle()->standardIcon(which, option, widget.data());
    }));
}

void deferExtensionIcons() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QStyle* current = QApplication::style();
    if (dynamic_cast<DeferredIconStyle*>(current)) return;
    QApplication::setStyle(new DeferredIconStyle(current ? current->name() : QString()));
}

} // namespace desktop
