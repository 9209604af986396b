#include "desktop/RunApp.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage drawn(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage();
}

} // namespace

// The extension buttons' icons are read when drawn, and look as the style they wrap draws
// them, in either direction; other icons are the style's own; deferring twice wraps once.
TEST(ExtensionIconTest, DeferredIconsDrawAsTheWrappedStyleDraws) {
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
    ASSERT_TRUE(plain);
    QStyleOption rightToLeft;
    rightToLeft.direction = Qt::RightToLeft;

    desktop::deferExtensionIcons();
    QStyle* deferred = QApplication::style();
    desktop::deferExtensionIcons();
    EXPECT_EQ(QApplication::style(), deferred);

    for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        SCOPED_TRACE(which);
        const QIcon icon = deferred->standardIcon(which);
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(drawn(icon), drawn(plain->standardIcon(which)));
        EXPECT_EQ(drawn(deferred->standardIcon(which, &rightToLeft)), drawn(plain->standardIcon(which, &rightToLeft)));
    }
    EXPECT_EQ(drawn(deferred->standardIcon(QStyle::SP_ArrowUp)), drawn(plain->standardIcon(QStyle::SP_ArrowUp)));

    // A menu bar made now carries the same icon on its extension button.
    QMenuBar bar;
    const auto buttons = bar.findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(drawn(buttons.front()->icon()),
              drawn(plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &bar)));
}
