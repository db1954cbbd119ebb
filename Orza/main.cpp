#include "Orza/app/GlazeMainApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList files = QApplication::arguments();
    files.removeFirst();
    Orza::GlazeMainApp::start(application, files);
    return QApplication::exec();
}
