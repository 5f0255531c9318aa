// The floor to compare Devical's start-up with: a bare Qt window of forty buttons.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(408, 293);
    for (int i = 0; i < 40; ++i) {
        auto* button = new QPushButton(QString::number(i), &window);
        button->setGeometry(4 + (i % 8) * 50, 4 + (i / 8) * 55, 46, 50);
    }
    window.show();
    return QApplication::exec();
}
