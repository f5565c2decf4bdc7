// The yardstick for start-up time: a bare Qt program that shows one window with one button.
#include <QApplication>
#include <QPushButton>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QPushButton button("Start");
    button.show();
    return app.exec();
}
