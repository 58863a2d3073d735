#include "fRetiroRegistros.h"

#include "mUnidad.h"

#include "Twips.h"
#include "fOpciones.h"
#include "mAdministracion.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {
void geo(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}
}  // namespace

fRetiroRegistros::fRetiroRegistros(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fRetiroRegistros"));
    setWindowTitle(QStringLiteral("Eliminación de Facturas y Movimientos"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    setFixedSize(TwipsToPixels(7920, 1905));

    Frame1 = new QGroupBox(QStringLiteral("Eliminar Facturas de Compra y Facturas de Venta"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    geo(Frame1, 120, 60, 7680, 1320);
    auto* linea = new QLabel(QStringLiteral("Digite el intervalo de facturas a eliminar"), Frame1);
    geo(linea, 120, 240, 4000, 240);

    const char* etiquetas[3] = {"Desde", "Hasta", "Código de la Empresa"};
    const int izquierda[3] = {2520, 4920, 120};
    // Created company, from, to: the tab order.
    for (int i : {2, 0, 1}) {
        auto* l = new QLabel(QString::fromUtf8(etiquetas[i]), Frame1);
        geo(l, izquierda[i], 540, 2300, 240);
        tEliminarFactura[i] = new QLineEdit(Frame1);
        tEliminarFactura[i]->setObjectName(QStringLiteral("tEliminarFactura%1").arg(i));
        geo(tEliminarFactura[i], izquierda[i], 780, 2200, 315);
        tEliminarFactura[i]->installEventFilter(this);
    }

    const QString textos[2] = {QStringLiteral("Eliminar Facturas de Compra"), QStringLiteral("Eliminar Facturas de Venta")};
    for (int i = 0; i < 2; ++i) {
        bEliminarFactura[i] = new QPushButton(textos[i], this);
        bEliminarFactura[i]->setObjectName(QStringLiteral("bEliminarFactura%1").arg(i));
        bEliminarFactura[i]->setAutoDefault(false);
        geo(bEliminarFactura[i], 120 + i * 2460, 1440, 2400, 360);
        connect(bEliminarFactura[i], &QPushButton::clicked, this, [this, i] { bEliminarFactura_Click(i); });
    }
    lEmpresaActual = new QLabel(this);
    lEmpresaActual->setObjectName(QStringLiteral("lEmpresaActual"));
    geo(lEmpresaActual, 4320, 270, 3400, 240);
    bCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    bCerrar->setObjectName(QStringLiteral("bCerrar"));
    bCerrar->setAutoDefault(false);
    bCerrar->setDefault(true);
    geo(bCerrar, 6660, 1440, 1140, 360);
    connect(bCerrar, &QPushButton::clicked, this, &fRetiroRegistros::bCerrar_Click);
}

void fRetiroRegistros::Form_Load()
{
    lEmpresaActual->setText(QStringLiteral("Empresa Actual : ") + gNombreEmp);
    for (auto* t : tEliminarFactura)
        t->clear();
    for (auto* b : bEliminarFactura)
        b->setEnabled(false);
    tEliminarFactura[2]->setFocus();  // the company first, as the tab order goes
}

bool fRetiroRegistros::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        // Leaving the box for another control; not the window losing the
        // activation to a message box or another program.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason)
            for (int i = 0; i < 3; ++i)
                if (o == tEliminarFactura[i] && isVisible())
                    tEliminarFactura_LostFocus(i);
    }
    return QDialog::eventFilter(o, e);
}

void fRetiroRegistros::tEliminarFactura_LostFocus(int Index)
{
    const qint64 maximo = Index == 2 ? kMaxCodigoEmpresa : kMaxNumeroFactura;
    if (EsEnteroValido(tEliminarFactura[Index]->text(), maximo)) {
        for (auto* b : bEliminarFactura)
            b->setEnabled(true);
    } else {
        MsgBox(QStringLiteral("digite un código válido"));
    }
}

bool fRetiroRegistros::EliminarFacturas(bool ventas, const QString& desde, const QString& hasta, const QString& empresa)
{
    // Only checked numbers reach the statement.
    if (!EsEnteroValido(desde, kMaxNumeroFactura) || !EsEnteroValido(hasta, kMaxNumeroFactura)
        || !EsEnteroValido(empresa, kMaxCodigoEmpresa))
        return false;
    gSQL = QStringLiteral("Delete From ") + (ventas ? QStringLiteral("ventas") : QStringLiteral("compras"))
           + QStringLiteral(" Where codigo_fac Between ") + desde + QStringLiteral(" And ") + hasta
           + QStringLiteral(" And codigo_emp = ") + empresa;
    // One unit: the headers with their lines and payments, or nothing.
    const bool hecho = EnTransaccion([](ado::Connection& cn) {
        ado::Recordset rs;
        rs.Open(gSQL, cn);
        return true;
    });
    if (!hecho)
        ControlErrores();
    return hecho;
}

void fRetiroRegistros::bEliminarFactura_Click(int Index)
{
    if (!PuertaAdministrador())
        return;
    if (MsgBox(QStringLiteral("Esta operación es irreversible, se recomienda realizar copia de seguridad. Si continua, las "
                              "Facturas eliminadas no podrán ser recuperadas. Está seguro?"),
               MsgStyle::QuestionNoDefault)
        != MsgResult::Yes)
        return;
    const QString desde = tEliminarFactura[0]->text(), hasta = tEliminarFactura[1]->text(),
                  empresa = tEliminarFactura[2]->text();
    if (!EsEnteroValido(desde, kMaxNumeroFactura) || !EsEnteroValido(hasta, kMaxNumeroFactura)
        || !EsEnteroValido(empresa, kMaxCodigoEmpresa)) {
        MsgBox(QStringLiteral("digite un código válido"));
        return;
    }
    if (EliminarFacturas(Index == 1, desde, hasta, empresa))
        MsgBox(QStringLiteral("Se han eliminado todas las Facturas seleccionadas"), MsgStyle::Information);
}

void fRetiroRegistros::bCerrar_Click() { reject(); }

void fRetiroRegistros::Mostrar(QWidget* parent)
{
    fRetiroRegistros& w = Ventana<fRetiroRegistros>();
    if (w.isVisible())
        return;
    if (parent && w.parentWidget() != parent)
        w.setParent(parent, w.windowFlags());
    w.Form_Load();
    QPointer<fRetiroRegistros> guard(&w);
    if (alMostrar)
        QTimer::singleShot(0, &w, [&w] { alMostrar(w); });
    w.exec();
    if (guard)
        CerrarVentana(guard);
}
