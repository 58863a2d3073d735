// TARVIK_STORE_TEST: the program in Spanish as main() sets it up: Qt's own
// texts translated, calendars and the file dialog with Spanish month and day
// names, while every number, amount and date the program writes or reads
// keeps its fixed form under the Spanish default locale.
#include "Dinero.h"
#include "FileDialog.h"
#include "Idioma.h"
#include "MonthView.h"
#include "Prueba.h"
#include "TestStore.h"
#include "fAdmArt.h"
#include "fArticulos.h"
#include "fVentas.h"
#include "frmRepVentas.h"
#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "textfmt.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

template <class W = QWidget>
W* hijo(QObject* w, const QString& nombre)
{
    W* c = w->findChild<W*>(nombre);
    if (!c)
        teststore::fail(QStringLiteral("no control ") + nombre);
    return c;
}

void teclear(QLineEdit* e, const QString& texto)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, texto);
}

// A calendar's month, as its title shows it, and the day names over its
// columns.
QString mes(MonthView* c) { return hijo<QToolButton>(c, QStringLiteral("qt_calendar_monthbutton"))->text(); }
QStringList dias(MonthView* c)
{
    const QAbstractItemModel* m = hijo<QTableView>(c, QStringLiteral("qt_calendar_calendarview"))->model();
    QStringList out;
    for (int col = 0; col < m->columnCount(); ++col)
        out << m->index(0, col).data().toString();
    return out;
}

}  // namespace

class TstIdioma : public Prueba {
    Q_OBJECT
    QLocale programa_;
    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        QVERIFY2(idioma::UsarEspanol(), "Qt's Spanish translations (qt6-translations-l10n) are not installed");
        programa_ = QLocale();
    }
    void cleanup()
    {
        QLocale::setDefault(programa_);
        CommonDialog::setResponderForTest({});
        Prueba::cleanup();
    }

    // The system's own Spanish is kept; any other language gives way.
    void chosenLocale_data()
    {
        columnas<QString, QString>("sistema", "elegido");
        QTest::newRow("C") << "C"
                           << "es_DO";
        QTest::newRow("English") << "en_US"
                                 << "es_DO";
        QTest::newRow("Spain") << "es_ES"
                               << "es_ES";
        QTest::newRow("Mexico") << "es_MX"
                                << "es_MX";
    }
    void chosenLocale()
    {
        QFETCH(QString, sistema);
        QFETCH(QString, elegido);
        QCOMPARE(idioma::Elegido(QLocale(sistema)).name(), elegido);
        QCOMPARE(programa_, idioma::Elegido(QLocale::system()));
    }

    // The picture dialog as the clerk sees it: Qt's labels and column
    // titles translated, a December date and a folder named in Spanish,
    // every column whole and in sight.
    void fileDialogSpeaksSpanish()
    {
        QVERIFY(QDir(dir_.path()).mkpath("Imagenes/Articulos/viejas"));
        const QString foto = dir_.filePath("Imagenes/Articulos/foto.png");
        QVERIFY(QImage(2, 2, QImage::Format_RGB32).save(foto));
        QFile f(foto);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2023, 12, 20), QTime(9, 30)), QFileDevice::FileModificationTime));
        f.close();

        QFileDialog d(nullptr, "Abrir", dir_.filePath("Imagenes/Articulos"));
        PrepararDialogoArchivos(d);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(hijo<QLabel>(&d, "fileNameLabel")->text(), QString("&Nombre de fichero:"));
        auto* vista = hijo<QTreeView>(&d, "treeView");
        const QAbstractItemModel* m = vista->model();
        QTRY_COMPARE(m->rowCount(vista->rootIndex()), 2);
        QStringList titulos;
        for (int c = 0; c < 4; ++c)
            titulos << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titulos, QStringList({"Nombre", "Tamaño", "Tipo", QString::fromUtf8("Última modificación")}));
        QHash<QString, QStringList> filas;
        for (int r = 0; r < 2; ++r) {
            const QModelIndex i = m->index(r, 0, vista->rootIndex());
            filas[i.data().toString()] = {i.siblingAtColumn(2).data().toString(), i.siblingAtColumn(3).data().toString()};
        }
        QCOMPARE(filas["foto.png"].value(1), QString("20 dic 2023 09:30"));
        QCOMPARE(filas["viejas"].value(0), QString("carpeta"));

        const QHeaderView* h = vista->header();
        const QFontMetrics fm(vista->font());
        int fin = 0;
        for (int c = 0; c < 4; ++c) {
            QVERIFY2(fm.horizontalAdvance(titulos[c]) < h->sectionSize(c), qPrintable(titulos[c]));
            fin = qMax(fin, h->sectionViewportPosition(c) + h->sectionSize(c));
        }
        QVERIFY2(fm.horizontalAdvance(filas["foto.png"][1]) < h->sectionSize(3), qPrintable(filas["foto.png"][1]));
        QVERIFY2(fin <= vista->viewport()->width(), qPrintable(QString("%1 > %2").arg(fin).arg(vista->viewport()->width())));
    }

    // The due-date calendar of the sales window and the period calendars of
    // the reports.
    void calendarsShowSpanishNames()
    {
        TESTSTORE_OPEN_FRESH(t);
        fVentas& v = Ventana<fVentas>();
        v.show();
        v.bAbirCalendario->click();
        QVERIFY(v.Calendario->isVisible());
        v.Calendario->setValue(QDate(2024, 12, 5));
        QCOMPARE(mes(v.Calendario), QString("diciembre"));
        QVERIFY2(dias(v.Calendario).contains("lun") && dias(v.Calendario).contains("dom"), qPrintable(dias(v.Calendario).join(' ')));
        CerrarVentana(&v);

        frmRepVentas r;
        r.show();
        r.Command2->click();
        QVERIFY(r.Calendario->isVisible());
        r.Calendario->setValue(QDate(2024, 1, 15));
        QCOMPARE(mes(r.Calendario), QString("enero"));
        QCOMPARE(dias(r.Calendario), dias(v.Calendario));
    }

    // Under the program's Spanish and under a Spanish of decimal commas, the
    // program's own forms stay fixed, on screen and in the store.
    void numbersStayFixed_data()
    {
        columnas<QLocale>("local");
        QTest::newRow("program") << idioma::Elegido(QLocale::system());
        QTest::newRow("Spain") << QLocale(QLocale::Spanish, QLocale::Spain);
        QTest::newRow("Dominican Republic") << QLocale(QLocale::Spanish, QLocale::DominicanRepublic);
    }
    void numbersStayFixed()
    {
        QFETCH(QLocale, local);
        QLocale::setDefault(local);
        QCOMPARE(NumText(1234.5), QString("1234.5"));
        QCOMPARE(NumText(1500000.0), QString("1500000"));
        QCOMPARE(Dinero::De(1234567.891).Texto(), QString("1,234,567.89"));
        QCOMPARE(FormatDate(QDate(2024, 12, 5)), QString("05/12/2024"));
        QCOMPARE(ParseDate("05/12/2024"), QDate(2024, 12, 5));
        QCOMPARE(Val("1234.5"), 1234.5);
        QCOMPARE(Val("1,5"), 1.0);

        TESTSTORE_OPEN_FRESH(t);
        AbrirAdmArticulos();
        hijo<QAbstractButton>(VentanaAbierta<fAdmArt>(), "cmd0")->click();
        fArticulos* w = VentanaAbierta<fArticulos>();
        QVERIFY(w);
        auto caja = [w](int i) { return hijo<QLineEdit>(w, QString("txt%1").arg(i)); };
        QCOMPARE(caja(11)->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        teclear(caja(0), "77");
        teclear(caja(1), "arroz");
        teclear(caja(2), "1234.5");
        teclear(caja(3), "16");
        teclear(caja(4), "1500.75");
        teclear(caja(7), "3");
        QCOMPARE(hijo<QLineEdit>(w, "tPrecioConImpuesto4")->text(), QString("1741"));
        hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        const QList<teststore::Row> a =
            teststore::rowsRaw(t, "SELECT precio_compra, precio_venta1, fecha_ingreso_art FROM ARTICULOS WHERE codigo_art = '77'");
        QCOMPARE(a.size(), 1);
        COMPARE_ROW(a[0], {{"precio_compra", 1234.5}, {"precio_venta1", 1500.75}});
        QCOMPARE(a[0]["fecha_ingreso_art"].toDate(), QDate::currentDate());
        const QList<teststore::Row> k = teststore::rowsRaw(t, "SELECT saldo, precio_compra FROM Kardex WHERE codigo_art = '77'");
        QCOMPARE(k.size(), 1);
        COMPARE_ROW(k[0], {{"saldo", 3}, {"precio_compra", 1234.5}});
        CerrarVentana(VentanaAbierta<fAdmArt>());
    }
};

QTEST_MAIN(TstIdioma)
#include "tst_idioma.moc"
