#include "gui/TForm1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quirbel Barcode Maker");
    QApplication::setOrganizationName("Quirbel");
    qbm::TForm1 window;
    window.show();
    return QApplication::exec();
}
