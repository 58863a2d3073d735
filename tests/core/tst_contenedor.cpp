// TARVIK_STORE_TEST: the main window, its menus and toolbar, the about box
// and the button panel (the article list it opens reads the store).
#include "AppPath.h"
#include "Shell.h"
#include "TestStore.h"
#include "Toolbar.h"
#include "fAcercaDe.h"
#include "fAdmArt.h"
#include "fAdmCompras.h"
#include "fAdmTerceros.h"
#include "fAdmVentas.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "fCompras.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "fKardex.h"
#include "fMenu.h"
#include "fVentas.h"
#include "frmContenedor.h"
#include "mCatalogos.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A child window that counts its close handler.
class Hija : public QWidget {
public:
    static inline int closes = 0;
protected:
    void closeEvent(QCloseEvent* e) override
    {
        ++closes;
        QWidget::closeEvent(e);
    }
};

void programa(const QString& folder, const QString& name)
{
    QFile f(folder + "/" + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A caption as shown: its access key marked by "&" is only underlined.
QString visible(QString caption) { return caption.remove(QLatin1Char('&')); }

// The access key of a caption, lower case; none when it has no "&".
QChar letra(const QString& caption)
{
    const int i = caption.indexOf(QLatin1Char('&'));
    return i >= 0 && i + 1 < caption.size() ? caption.at(i + 1).toLower() : QChar();
}

// The access keys a window answers to while it is the active child: its
// buttons, its own menu bar, its frames and the labels that lead to a box.
QSet<QChar> letrasDe(QWidget* w)
{
    QSet<QChar> out;
    auto anotar = [&out](const QString& caption) {
        if (const QChar c = letra(caption); !c.isNull())
            out.insert(c);
    };
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        anotar(b->text());
    for (QMenuBar* m : w->findChildren<QMenuBar*>())
        for (QAction* a : m->actions())
            anotar(a->text());
    for (QGroupBox* g : w->findChildren<QGroupBox*>())
        anotar(g->title());
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->buddy())
            anotar(l->text());
    return out;
}

}  // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class TstContenedor : public QObject {
    Q_OBJECT
    teststore::Target t_;
    frmContenedor* m_ = nullptr;
    QList<int> ends_;
    QStringList opened_;
    QTemporaryDir dir_;

    void espia(const QString& nombre)
    {
        RegistrarAbridor(nombre, [this, nombre] { opened_ << nombre; });
    }

private slots:
    void init()
    {
        ends_.clear();
        opened_.clear();
        Hija::closes = 0;
        msgtest::install();
        SetEndProgramHook([this](int code) { ends_ << code; });
        t_ = teststore::openFresh();
        if (QTest::currentTestFailed())
            return;
        m_ = &Ventana<frmContenedor>();
        m_->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(m_));
    }
    void cleanup()
    {
        for (const char* n : {"articulos", "clientes", "proveedores", "kardex", "venta", "params", "compra"})
            RegistrarAbridor(n, {});
        delete VentanaAbierta<fMenu>();
        delete VentanaAbierta<frmContenedor>();
        m_ = nullptr;
        shell::SetSearchPathForTest({});
        shell::SetStarterForTest({});
        SetAppPath(QString());
        msgtest::uninstall();
        SetEndProgramHook(nullptr);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("items");  // name=caption, in order
        QTest::newRow("archivo") << "archivo" << "Archivo" << QStringList{"salir=Salir"};
        QTest::newRow("adm") << "adm" << "Administrar"
                             << QStringList{"articulos=Artículos", "clientes=Clientes", "proveedores=Proveedores"};
        QTest::newRow("fac") << "fac" << "Facturas"
                             << QStringList{"compra=Compra", "venta=Venta", "cobrar=Por cobrar", "pagar=Por pagar"};
        QTest::newRow("reports") << "reports" << "Reportes"
                                 << QStringList{"rep_ventas=Ventas", "rep_compras=Compras", "rep_itbis=Impuestos"};
        QTest::newRow("tools") << "tools" << "Herramientas" << QStringList{"calc=Calculadora"};
        QTest::newRow("config") << "config" << "Configuración" << QStringList{"params=Parametros"};
        QTest::newRow("ayuda") << "ayuda" << "Ayuda" << QStringList{"enlinea=Ayuda en línea", "sobre=Acerca de Tarvik"};
    }
    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QStringList, items);
        QMenu* mm = m_->menu(menu);
        QVERIFY(mm);
        QCOMPARE(visible(mm->title()), caption);
        QStringList shown;
        for (QAction* a : mm->actions())
            shown << a->objectName() + "=" + visible(a->text());
        QCOMPARE(shown, items);
    }

    // Each menu and each item has a letter of its own, and no child window
    // answers to a menu's letter: with a list or an invoice window active,
    // Alt and the letter open that menu every time it is pressed.
    void teclasDeAcceso()
    {
        QSet<QChar> menus;
        for (QAction* a : m_->menuBar()->actions()) {
            const QChar c = letra(a->text());
            QVERIFY2(!c.isNull() && !menus.contains(c), qPrintable(a->text()));
            menus.insert(c);
            QSet<QChar> items;
            for (QAction* i : a->menu()->actions()) {
                const QChar ci = letra(i->text());
                QVERIFY2(!ci.isNull() && !items.contains(ci), qPrintable(i->text()));
                items.insert(ci);
            }
        }
        QCOMPARE(menus.size(), 7);

        gCodigoEmp = "1";
        const QList<QWidget*> hijas{&Ventana<fAdmArt>(),           &Ventana<fAdmCli>(),          &Ventana<fAdmProv>(),
                                    &Ventana<fAdmVentas>(),        &Ventana<fAdmCompras>(),      &Ventana<fVentas>(),
                                    &Ventana<fCompras>(),          &Ventana<fFact_xCobrar>(),    &Ventana<fFact_xPagar>(),
                                    &Ventana<fKardex>(),           &Ventana<fBuscarArticulos>(), &Ventana<fBuscarClientes>(),
                                    &Ventana<fBuscarProveedores>()};
        for (QWidget* h : hijas)
            QVERIFY2(!letrasDe(h).intersects(menus), qPrintable(h->objectName()));
        // The letters the lists' own menus and the line buttons hold.
        QVERIFY(letrasDe(&Ventana<fAdmArt>()).contains(QChar('a')));
        QVERIFY(letrasDe(&Ventana<fVentas>()).contains(QChar('d')));

        // Alt and the letter from the box foco (the main window when null);
        // Escape closes the menu and leaves the menu bar.
        auto abre = [this](QWidget* foco, int veces) {
            for (QAction* a : m_->menuBar()->actions())
                for (int vez = 0; vez < veces; ++vez) {
                    // The offscreen platform leaves the closed menu active.
                    QVERIFY(!QApplication::activePopupWidget());
                    m_->activateWindow();
                    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_));
                    if (foco) {
                        foco->setFocus();
                        QTRY_COMPARE(QApplication::focusWidget(), foco);
                    }
                    QTest::keyClick(foco ? foco : m_, Qt::Key(letra(a->text()).toUpper().unicode()), Qt::AltModifier);
                    QWidget* abierto = QApplication::activePopupWidget();
                    QVERIFY2(abierto == a->menu(),
                             qPrintable(
                                 QString("%1: %2, %3").arg(foco ? foco->window()->objectName() : "-", visible(a->text())).arg(vez)));
                    QTest::keyClick(abierto, Qt::Key_Escape);
                    QTest::keyClick(m_->menuBar(), Qt::Key_Escape);
                }
        };
        m_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_));
        for (QWidget* h : {static_cast<QWidget*>(&Ventana<fAdmArt>()), static_cast<QWidget*>(&Ventana<fVentas>())}) {
            MostrarHija(h);
            QApplication::processEvents();
            QCOMPARE(m_->workspace()->activeSubWindow()->widget(), h);
            QLineEdit* caja = nullptr;
            for (QLineEdit* e : h->findChildren<QLineEdit*>())
                if (!caja && e->isVisible() && e->isEnabled() && !e->isReadOnly())
                    caja = e;
            QVERIFY(caja);
            abre(caja, 2);
        }
        m_->workspace()->closeAllSubWindows();
        QApplication::processEvents();
        abre(nullptr, 1);
    }

    void windowAndMenuOrder()
    {
        QCOMPARE(m_->windowTitle(), QString("Tarvik 1.0 BETA"));
        QVERIFY(m_->isMaximized());
        QCOMPARE(ventanas::workspace(), m_->workspace());
        QStringList order;
        for (QAction* a : m_->menuBar()->actions())
            order << a->menu()->objectName();
        QCOMPARE(order, QStringList({"archivo", "adm", "fac", "reports", "tools", "config", "ayuda"}));
    }

    void toolbarKeys()
    {
        Toolbar* tb = m_->findChild<Toolbar*>("Toolbar1");
        QVERIFY(tb);
        QCOMPARE(tb->keys(), QStringList({"clientes", "articulos", "ventas", "config"}));
        QStringList texts;
        for (const QString& k : tb->keys()) {
            texts << tb->button(k)->text();
            QVERIFY(!tb->button(k)->icon().isNull());
        }
        QCOMPARE(texts, QStringList({"Clientes", "Artículos", "Venta", "Configuración"}));

        for (const char* n : {"clientes", "articulos", "venta", "params"})
            espia(n);
        for (const QString& k : tb->keys())
            tb->button(k)->trigger();
        QCOMPARE(opened_, QStringList({"clientes", "articulos", "venta", "params"}));
        opened_.clear();
        // Keys are compared exactly.
        for (const char* k : {"Clientes", "articulos ", "venta", "params", ""})
            m_->Toolbar1_ButtonClick(k);
        QVERIFY(opened_.isEmpty());
    }

    void itemsWithoutWindowDoNothing()
    {
        for (const char* n : {"compra", "venta", "cobrar", "pagar", "rep_ventas", "rep_compras", "rep_itbis", "params"})
            m_->item(n)->trigger();
        QVERIFY(msgtest::calls().isEmpty());
        QVERIFY(m_->workspace()->subWindowList().isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void articulosTwiceGivesOneWindow()
    {
        RegistrarMenusCatalogos();
        m_->item("articulos")->trigger();
        fAdmArt* lista = VentanaAbierta<fAdmArt>();
        QVERIFY(lista);
        m_->item("clientes")->trigger();
        QVERIFY(VentanaAbierta<fAdmCli>());
        m_->findChild<Toolbar*>("Toolbar1")->button("articulos")->trigger();
        m_->item("articulos")->trigger();
        QCOMPARE(VentanaAbierta<fAdmArt>(), lista);
        int listas = 0;
        for (QMdiSubWindow* s : m_->workspace()->subWindowList())
            listas += s->widget() == lista;
        QCOMPARE(listas, 1);
        QCOMPARE(m_->workspace()->subWindowList().size(), 2);
        QVERIFY(m_->workspace()->activeSubWindow());
        QCOMPARE(m_->workspace()->activeSubWindow()->widget(), lista);  // brought to the front
    }

    void closingAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("No, close box") << false << false;
        QTest::newRow("No, Salir") << false << true;
        QTest::newRow("Yes, close box") << true << false;
        QTest::newRow("Yes, Salir") << true << true;
    }
    void closingAsks()
    {
        QFETCH(bool, yes);
        QFETCH(bool, byMenu);
        msgtest::install([yes](const msgtest::Call&) { return yes ? MsgResult::Yes : MsgResult::No; });
        auto* hija = new Hija;
        MostrarHija(hija);
        QMdiSubWindow* sub = m_->workspace()->subWindowList().value(0);
        QVERIFY(sub);
        sub->resize(300, 200);
        const QRect where = sub->geometry();
        if (byMenu)
            m_->item("salir")->trigger();
        else
            m_->close();
        QCOMPARE(msgtest::texts(), QStringList{"Está Seguro?"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Question);
        QCOMPARE(Hija::closes, 0);  // no child's close handler runs either way
        if (yes) {
            QCOMPARE(ends_, QList<int>{0});
        } else {
            QVERIFY(ends_.isEmpty());
            QVERIFY(m_->isVisible());
            QCOMPARE(m_->workspace()->subWindowList().size(), 1);
            QVERIFY(hija->isVisible());
            QCOMPARE(sub->geometry(), where);
        }
    }

    void aboutBox()
    {
        shell::SetSearchPathForTest({dir_.path()});  // no system-information program there
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* a = qobject_cast<fAcercaDe*>(QApplication::activeModalWidget());
            if (!a) {
                seen << "not modal";
                return;
            }
            seen << a->windowTitle();
            for (int i = 0; i < 3; ++i)
                seen << a->findChild<QLabel*>(QString("lblAcercaDe%1").arg(i))->text();
            seen << a->findChild<QPushButton*>("cmdOK")->text() << a->findChild<QPushButton*>("cmdSysInfo")->text();
            seen << QString::number(a->parentWidget() == m_);
            a->findChild<QPushButton*>("cmdSysInfo")->click();
            QTest::keyClick(a, Qt::Key_Escape);  // presses Aceptar
        });
        m_->item("sobre")->trigger();  // returns once the box has closed
        QCOMPARE(seen, QStringList({"Acerca de Tarvik", "Tarvik 1.0 beta ", "Software para la Administración de Negocios", "",
                                    "Aceptar", "&Info. del sistema...", "1"}));
        QCOMPARE(msgtest::texts(), QStringList{"La información del sistema no está disponible en este momento"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Plain);
        QVERIFY(!VentanaAbierta<fAcercaDe>());
    }

    void programsStartedFromTheMenus()
    {
        programa(dir_.path(), "xcalc");
        programa(dir_.path(), "kcalc");
        programa(dir_.path(), "hardinfo");
        shell::SetSearchPathForTest({dir_.path()});
        QStringList started;
        shell::SetStarterForTest([&](const QString& p, const QStringList&) {
            started << QFileInfo(p).fileName();
            return true;
        });
        m_->item("calc")->trigger();
        QCOMPARE(started, QStringList{"kcalc"});  // the first of the list found

        fAcercaDe a;
        a.cmdSysInfo->click();
        QCOMPARE(started, QStringList({"kcalc", "hardinfo"}));
        QVERIFY(msgtest::calls().isEmpty());

        // No calculator on the machine: nothing happens, nothing is said.
        shell::SetSearchPathForTest({dir_.path() + "/none"});
        m_->item("calc")->trigger();
        QCOMPARE(started.size(), 2);
        QVERIFY(msgtest::calls().isEmpty());
    }

    // Help is the README shipped beside the program (or above its build
    // folder); without one, or without a program to show it, the clerk is
    // told why nothing opens.
    void helpPage()
    {
        QFile readme(dir_.path() + "/README.md");
        QVERIFY(readme.open(QIODevice::WriteOnly));
        readme.close();
        QDir().mkpath(dir_.path() + "/build/app");
        SetAppPath(dir_.path() + "/build/app");
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        m_->item("enlinea")->trigger();
        SetAppPath("/");
        m_->item("enlinea")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(dir_.path() + "/README.md")});
        QCOMPARE(msgtest::texts(),
                 QStringList{QString::fromUtf8("No se encontró la ayuda: el archivo README.md no está junto al programa.")});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
    }

    // The program's icon, not the toolkit's logo, on the main window, on a
    // dialog, and drawn in the title bar of a child window of the workspace.
    void windowsShowTheProgramIcon()
    {
        PonerIconoDelPrograma();
        const auto sinIcono = qScopeGuard([] { QApplication::setWindowIcon(QIcon()); });
        const QIcon icono = QApplication::windowIcon();
        QVERIFY(!icono.pixmap(16).isNull());
        fAcercaDe a;
        for (QWidget* w : {static_cast<QWidget*>(m_), static_cast<QWidget*>(&a)})
            QCOMPARE(w->windowIcon().cacheKey(), icono.cacheKey());

        MostrarHija(&Ventana<fAdmArt>());
        auto* sub = qobject_cast<QMdiSubWindow*>(Ventana<fAdmArt>().parentWidget());
        QVERIFY(sub);
        QApplication::processEvents();
        QStyleOptionTitleBar opt;
        opt.initFrom(sub);
        opt.titleBarFlags = sub->windowFlags();
        opt.rect = QRect(0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub));
        const QRect sitio = sub->style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarSysMenu, sub);
        QVERIFY(!sitio.isEmpty());
        // Where the icon is drawn, the pixels are those of the program's icon.
        const QImage dibujado = sub->grab(sitio).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage esperado =
            icono.pixmap(sitio.size(), dibujado.devicePixelRatio()).toImage().convertToFormat(QImage::Format_ARGB32);
        const QPoint desde((dibujado.width() - esperado.width()) / 2, (dibujado.height() - esperado.height()) / 2);
        int iguales = 0, opacos = 0;
        for (int y = 0; y < esperado.height(); ++y)
            for (int x = 0; x < esperado.width(); ++x) {
                const QColor e = esperado.pixelColor(x, y);
                if (e.alpha() < 255)
                    continue;
                ++opacos;
                const QColor d = dibujado.pixelColor(desde + QPoint(x, y));
                iguales += qAbs(d.red() - e.red()) + qAbs(d.green() - e.green()) + qAbs(d.blue() - e.blue()) < 30;
            }
        QVERIFY(opacos > 0);
        QVERIFY2(iguales * 10 >= opacos * 9, qPrintable(QString("%1 of %2 pixels match").arg(iguales).arg(opacos)));
    }

    void buttonPanel()
    {
        fMenu& p = Ventana<fMenu>();
        QCOMPARE(p.windowTitle(), QString("Menú"));
        espia("articulos");
        espia("kardex");
        espia("params");
        p.findChild<QPushButton*>("bAbrirfAdmArt")->click();
        p.findChild<QPushButton*>("bAbrirfKardex")->click();
        p.findChild<QPushButton*>("bOpciones")->click();
        QCOMPARE(opened_, QStringList({"articulos", "kardex", "params"}));
        for (const char* b : {"bAbrirfAdmCli", "bAbrirfAdmProv", "bAbrirfAdmVentas", "bAbrirfAdmCompras",
                              "bAbrirfFact_xCobrar", "bAbrirfFact_xPagar"})
            QVERIFY2(p.findChild<QPushButton*>(b), b);
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        p.show();
        p.findChild<QPushButton*>("bSalir")->click();
        QCOMPARE(msgtest::texts(), QStringList{"Está Seguro?"});
        QVERIFY(p.isVisible());
        QVERIFY(ends_.isEmpty());
    }
};

QTEST_MAIN(TstContenedor)
#include "tst_contenedor.moc"
