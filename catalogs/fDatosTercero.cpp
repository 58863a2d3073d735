#include "fDatosTercero.h"

#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

fDatosTercero::fDatosTercero(const Diseno& d, qint32& modo)
    : tabla_(d.tabla), sufijo_(d.sufijo), carpeta_(d.carpeta), modo_(modo)
{
    setObjectName(d.nombre);
    setWindowTitle(d.caption);
    setFixedSize(Tw(d.anchoTw), Tw(d.altoTw));

    Frame1 = new QGroupBox(d.frame, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 120, 120, 7770, 6255);

    for (int i = 0; i < 9; ++i) {
        QWidget* box;
        if (i == 6) {
            auto* notas = new QPlainTextEdit(Frame1);
            notas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            notas->setTabChangesFocus(true);
            box = notas;
        } else {
            box = new QLineEdit(Frame1);
        }
        box->setObjectName(QStringLiteral("txt%1").arg(i));
        ColocarTw(box, d.pos[i][0], d.pos[i][1], d.pos[i][2], d.pos[i][3]);
        FiltrarTeclas(box, i == 0);
        txt.append(box);

        auto* etiqueta = new QLabel(d.etiquetas[i], Frame1);
        etiqueta->adjustSize();
        if (i == 6 || i == 7 || i == 0 || i == 8)  // labels above the box
            etiqueta->move(box->x(), box->y() - etiqueta->height() - 1);
        else
            etiqueta->move(qMax(2, box->x() - etiqueta->width() - 4), box->y() + 3);
    }
    AjustarCajas(txt, tabla_);

    auto* codigo = static_cast<QLineEdit*>(txt[0]);
    connect(codigo, &QLineEdit::textChanged, this, [this](const QString& t) { SetBoxText(txt[2], t); });
    connect(static_cast<QLineEdit*>(txt[8]), &QLineEdit::textChanged, this,
            [this](const QString& t) { CargarImagen(Imagen, t); });

    bBuscarImagen = new QPushButton(QStringLiteral("..."), Frame1);
    bBuscarImagen->setObjectName(QStringLiteral("bBuscarImagen"));
    bBuscarImagen->setGeometry(txt[8]->x() + txt[8]->width() + 2, txt[8]->y(), Tw(255), Tw(315));
    connect(bBuscarImagen, &QPushButton::clicked, this, &fDatosTercero::BuscarImagen);

    auto* sinImagen = new QLabel(QStringLiteral("Sin Imagen"), Frame1);
    sinImagen->setAlignment(Qt::AlignCenter);
    ColocarTw(sinImagen, d.imgLeft, d.imgTop, 2940, 2205);
    sinImagen->setFrameShape(QFrame::Box);
    Imagen = new QLabel(Frame1);
    Imagen->setObjectName(d.imagen);
    Imagen->setScaledContents(true);
    ColocarTw(Imagen, d.imgLeft, d.imgTop, 2940, 2205);

    bAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    bAceptar->setObjectName(QStringLiteral("bAceptar"));
    ColocarTw(bAceptar, d.aceptar[0], d.aceptar[1], d.aceptar[2], d.aceptar[3]);
    bCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    bCancelar->setObjectName(QStringLiteral("bCancelar"));
    ColocarTw(bCancelar, d.cancelar[0], d.cancelar[1], d.cancelar[2], d.cancelar[3]);
    connect(bAceptar, &QPushButton::clicked, this, &fDatosTercero::Aceptar);
    connect(bCancelar, &QPushButton::clicked, this, [this] { CerrarVentana(this); });
    for (auto* b : {bAceptar, bCancelar, bBuscarImagen})
        b->setAutoDefault(false);

    OrdenDeTabulacion({Controles(Frame1), {bAceptar, bCancelar}});
    TeclasDeVentana(this, d.cancelarEsDefecto ? bCancelar : bAceptar, bCancelar);
}

void fDatosTercero::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A fixed border without minimise or maximise buttons.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const Qt::WindowFlags f = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                  | Qt::WindowCloseButtonHint;
        if (sub->windowFlags() != f) {
            sub->setWindowFlags(f);
            sub->setFixedSize(sub->sizeHint());
        }
    }
}

QString fDatosTercero::Sentencia(const QString& codigo) const
{
    return QStringLiteral("Select * from ") + tabla_ + QStringLiteral(" where codigo_") + sufijo_ + QStringLiteral(" = ")
           + SqlStr(codigo);
}

void fDatosTercero::Nuevo()
{
    modo_ = 2;
    fila_.clear();
    SetBoxText(txt[7], FormatDate(QDate::currentDate()));
    MostrarHija(this);
}

void fDatosTercero::Editar(const QString& codigo)
{
    MostrarHija(this);
    gSQL = QStringLiteral("Select * From ") + tabla_ + QStringLiteral("  Where codigo_") + sufijo_ + QStringLiteral(" = ")
           + SqlStr(codigo);
    fila_.clear();
    if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
        const ado::RecordsetPtr leido = gRecordset;
        for (gIndice = 0; gIndice <= txt.size() - 1; ++gIndice) {
            const int i = int(gIndice);
            SetBoxText(txt[i], i < gRecordset->FieldCount() ? gRecordset->Fields(i).Text() : QString());
        }
        fila_ = LeerFila(*leido);
    }
    // Writing a text a box already shows signals nothing: record it here.
    codigoCargado_ = BoxText(txt[0]);
    modo_ = 1;
}

bool fDatosTercero::CodigoDeOtroRegistro()
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select codigo_") + sufijo_ + QStringLiteral(" From ") + tabla_ + QStringLiteral(" Where codigo_")
                + sufijo_ + QStringLiteral(" = ") + SqlStr(BoxText(txt[0])) + QStringLiteral(" FOR UPDATE"),
            Conexion());
    return rs.RecordCount() > 0;
}

void fDatosTercero::Aceptar()
{
    gSQL = Sentencia(BoxText(txt[0]));
    // Edit mode with the code typed over: the typed code must not pick
    // another stored record. The lock keeps the answer true until the save.
    const bool otroCodigo = modo_ == 1 && BoxText(txt[0]) != codigoCargado_;
    AntesDeGuardar antes;
    if (otroCodigo)
        antes = [this](ado::Connection&, ValoresCajas&) { return !CodigoDeOtroRegistro(); };
    switch (GuardarEnUnidad(LeerCajas(txt), gSQL, modo_, fila_, antes)) {
    case Guardado::Si:
        CerrarVentana(this);
        break;
    case Guardado::Rechazado:
        RechazarCodigoDuplicado();
        break;
    case Guardado::Fallo:
        break;
    }
}

void fDatosTercero::BuscarImagen()
{
    const QString elegido = ElegirImagen(this, CarpetaImagenes(carpeta_));
    if (!elegido.isEmpty())
        SetBoxText(txt[8], elegido);
}
