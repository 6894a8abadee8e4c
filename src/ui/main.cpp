// Placeholder until the application object lands: replaced by the desktop program's start-up.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
