#include "Idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace idioma {

QLocale Elegido(const QLocale& sistema)
{
    if (sistema.language() == QLocale::Spanish)
        return sistema;
    return QLocale(QLocale::Spanish, QLocale::DominicanRepublic);
}

bool UsarEspanol()
{
    QLocale::setDefault(Elegido(QLocale::system()));
    static QTranslator* qtbase = nullptr;
    if (qtbase)
        return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qtbase = t;
    return true;
}

}  // namespace idioma
