#include <QApplication>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Tarvik 1.0 BETA"));
    w.show();
    return app.exec();
}
