// The baseline of startup_bench: a minimal Qt program that maps one empty 400×350 widget.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 350);
    window.show();
    return app.exec();
}
