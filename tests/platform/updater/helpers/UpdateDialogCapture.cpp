// Shows the standard dialog of a found update on the X display named by DISPLAY, saves a
// capture of the whole screen to the path it is given and prints the dialog's place as
// "window <x> <y> <width> <height>".
#include "EventPolling.h"
#include "updater/StandardUserDriver.h"

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: update_dialog_capture <capture.png>\n");
        return 2;
    }
    QApplication app(argc, argv);
    updater::StandardUserDriver driver({}, [](const foundation::URL&) { return false; });
    updater::FeedItem item{*updater::Version::parse("0.10.0")};
    item.notes = "• Goals burn at the end of the day.\n• The Dock icon follows the settings.\n"
                 "• Fixed: a goal added while another was edited lost its title.";
    item.publicationDate = foundation::Date::fromTimeIntervalSince1970(1796823600);
    driver.showUpdateFound({"Quoril", "0.9.2", item,
                            foundation::URL::fromString("https://example.org/quoril"),
                            "/home/user/.cache/org.quoril.Quoril/updates/quoril_0.10.0_amd64.deb"});
    QDialog* dialog = driver.dialog();
    if (!dialog ||
        !pollEvents([&] { return dialog->windowHandle() && dialog->windowHandle()->isExposed(); }, 10000)) {
        std::fprintf(stderr, "the dialog was never shown\n");
        return 1;
    }
    pollEvents([n = 0]() mutable { return ++n > 10; });
    dialog->repaint();
    pollEvents([n = 0]() mutable { return ++n > 5; });
    const QPixmap shot = dialog->screen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not save the capture\n");
        return 1;
    }
    const QRect frame(dialog->mapToGlobal(QPoint(0, 0)), dialog->size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    return 0;
}
