#include "Orza/app/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList files = QApplication::arguments();
    files.removeFirst();
    Orza::Startup::start(application, files);
    return QApplication::exec();
}
