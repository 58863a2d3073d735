#include "Dinero.h"
#include "frmRepBase.h"

#include "BusyCursor.h"
#include "MonthView.h"
#include "ReportView.h"
#include "Twips.h"
#include "WebBrowser.h"
#include "mFuncionesCajas.h"
#include "mReportes.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <iterator>
#include <utility>

frmRepBase::frmRepBase(const QString& nombre, const QString& caption, int ancho, int alto, int top, int calendarTop, int webTop,
                       int botonesTop)
    : fReporteBase(nombre, caption, ancho, alto)
{
    // A period can hold hundreds of thousands of invoices.
    web->ShowRowsFast();
    Colocar(120, webTop, 10320, 6495, botonesTop, 6030, 6960, 1260, 8265, 9300);
    auto etiqueta = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto caja = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        return e;
    };
    auto boton = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    Label1 = etiqueta("Label1", QStringLiteral("Desde:"));
    fecha1 = caja("fecha1");
    Command2 = boton("Command2", QStringLiteral("..."));
    Label2 = etiqueta("Label2", QStringLiteral("Hasta:"));
    fecha2 = caja("fecha2");
    Command3 = boton("Command3", QStringLiteral("..."));
    Label3 = etiqueta("Label3", QStringLiteral("Estado:"));
    ComboEstado = new QComboBox(this);
    ComboEstado->setObjectName(QStringLiteral("ComboEstado"));
    ComboEstado->addItems({QStringLiteral("SIN CANCELAR"), QStringLiteral("ANULADA"), QStringLiteral("CANCELADA")});
    Command1 = boton("Command1", QStringLiteral("Buscar"));
    ColocarPeriodo(top);
    Calendario = new MonthView(this);
    Calendario->setObjectName(QStringLiteral("Calendario"));
    Calendario2 = new MonthView(this);
    Calendario2->setObjectName(QStringLiteral("Calendario2"));
    // Each calendar opens right under its date box, large enough for its
    // day names at this font; the first keeps clear of the second, as both
    // may be open at once.
    for (auto [cal, caja] : {std::pair{Calendario, fecha1}, std::pair{Calendario2, fecha2}})
        cal->setGeometry(caja->x(), std::max(TwipsToPixelsY(calendarTop), caja->geometry().bottom() + 1),
                         std::max(TwipsToPixelsX(2700), cal->sizeHint().width()), std::max(TwipsToPixelsY(2370), cal->sizeHint().height()));
    Calendario->move(std::max(0, std::min(Calendario->x(), Calendario2->x() - Calendario->width())), Calendario->y());
    Calendario->hide();
    Calendario2->hide();
    connect(Command1, &QPushButton::clicked, this, &frmRepBase::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmRepBase::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmRepBase::Command3_Click);
    connect(Calendario, &MonthView::dateClick, this, &frmRepBase::Calendario_DateClick);
    connect(Calendario2, &MonthView::dateClick, this, &frmRepBase::Calendario2_DateClick);
}

void frmRepBase::ColocarPeriodo(int top)
{
    // The design's places in twips; a label reaches the control after it.
    struct Pieza {
        QWidget* w;
        int left, width, height;
    };
    const Pieza fila[] = {{Label1, 120, 600, 255},    {fecha1, 720, 2175, 285},       {Command2, 2880, 255, 255},
                          {Label2, 3480, 600, 255},   {fecha2, 4080, 2295, 285},      {Command3, 6360, 255, 255},
                          {Label3, 6960, 600, 255},   {ComboEstado, 7560, 2055, 315}, {Command1, 9720, 735, 285}};
    constexpr int n = int(std::size(fila));
    // A caption that does not fit at this font widens its control; the
    // controls after it move right, and the two date boxes, which have room
    // to spare, give back what the row would take past the window's edge.
    int ancho[n];
    for (int i = 0; i < n; ++i) {
        int necesario = 0;
        if (auto* b = qobject_cast<QPushButton*>(fila[i].w))
            necesario = AnchoBoton(b);
        else if (auto* l = qobject_cast<QLabel*>(fila[i].w))
            necesario = l->fontMetrics().horizontalAdvance(l->text()) + TwipsToPixelsX(90);
        else if (auto* c = qobject_cast<QComboBox*>(fila[i].w))
            necesario = c->sizeHint().width();
        ancho[i] = std::max(TwipsToPixelsX(fila[i].width), necesario);
    }
    auto colocarFila = [&] {
        int x = TwipsToPixelsX(fila[0].left);
        for (int i = 0; i < n; ++i) {
            fila[i].w->setGeometry(x, TwipsToPixelsY(top), ancho[i], TwipsToPixelsY(fila[i].height));
            x += ancho[i];
            if (i + 1 < n)
                x += TwipsToPixelsX(std::max(0, fila[i + 1].left - fila[i].left - fila[i].width));
        }
        return x;
    };
    const int sobra = colocarFila() - (width() - TwipsToPixelsX(60));
    if (sobra > 0) {
        ancho[1] -= (sobra + 1) / 2;
        ancho[4] -= sobra / 2;
        colocarFila();
    }
}

void frmRepBase::Form_Load()
{
    ComboEstado->setCurrentIndex(0);
    fecha1->setText(FormatDate(QDate::currentDate()));
    fecha2->setText(FormatDate(QDate::currentDate()));
    Command1_Click();
}

void frmRepBase::Command1_Click()
{
    const BusyCursor espera;  // a long period takes a while
    InicializarReporte(ParseDate(fecha1->text()), ParseDate(fecha2->text()));
}

void frmRepBase::Command2_Click()
{
    Calendario->show();
    Calendario->raise();
    Calendario->setValue(ParseDate(fecha1->text()));
}

void frmRepBase::Command3_Click()
{
    Calendario2->show();
    Calendario2->raise();
    Calendario2->setValue(ParseDate(fecha2->text()));
}

void frmRepBase::Calendario_DateClick()
{
    fecha1->setText(FormatDate(Calendario->value()));
    Calendario->hide();
}

void frmRepBase::Calendario2_DateClick()
{
    fecha2->setText(FormatDate(Calendario2->value()));
    Calendario2->hide();
}

QString frmRepBase::EstadoElegido() const { return ComboEstado->currentText(); }

bool frmRepBase::RechazarPeriodo(const QDate& desde, const QDate& hasta)
{
    if (desde.isValid() && hasta.isValid())
        return false;
    MsgBox(QStringLiteral("Las fechas del período no son válidas: escríbalas como dd/mm/aaaa"), MsgStyle::Exclamation);
    return true;
}

QString frmRepBase::LiteralFecha(const QDate& d) { return d.toString(QStringLiteral("MM/dd/yyyy")); }

void frmRepBase::InformeFacturas(const QDate& desde, const QDate& hasta, const Informe& informe)
{
    if (RechazarPeriodo(desde, hasta))
        return;
    const QString estado = EstadoElegido();
    gSQL = QStringLiteral("select * from ") + informe.tabla + QStringLiteral(" where fecha between #") + LiteralFecha(desde)
           + QStringLiteral("# and #") + LiteralFecha(hasta) + QStringLiteral("# and codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" and estado = '") + estado + QStringLiteral("'");
    if (!AbrirRecordset(gSQL))
        return;
    ado::Recordset& rs = *gRecordset;
    ArchivoReporte f(informe.archivo);
    // The file's rows and the view's are made of the same texts.
    ReportPage pagina;
    const bool ok = EscribirReporte(f, [&] {
        const QString periodo = FormatDate(desde) + QStringLiteral(" - ") + FormatDate(hasta);
        f.Escribir(kCabeceraReporte + QStringLiteral("<BODY><FONT face='Arial'><h2>") + Html(gNombreEmp)
                   + QStringLiteral("</h2><table><tr><td><h3> ") + informe.nombre + QStringLiteral(" (") + periodo
                   + informe.etiquetaEstado + Html(estado) + QStringLiteral("<br><br>"));
        EncabezarPagina(pagina, informe.nombre + QStringLiteral(" (") + periodo + QLatin1Char(')'), estado);
        f.Escribir(QLatin1StringView("    <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' width='90%'>"));
        f.Escribir(QStringLiteral(
            " <tr><td><strong>No. Factura</strong></td><td><P align=right><FONT face='Arial'><strong>Valor Neto</strong></FONT></P></td>"
            "<td><P align=right><FONT face='Arial'><strong>Impuesto</strong></FONT></P></td><td><P align=right><FONT face='Arial'>"
            "<strong>Descuento</strong></FONT></P></td><td><P align=right><FONT face='Arial'><strong>Abono</strong></FONT></P></td>"
            "<td><P align=right><FONT face='Arial'><strong>Saldo</strong></FONT></P></td><td><P align=right><FONT face='Arial'>"
            "<strong>Total</strong></FONT></P></td></tr>"));
        pagina.beginTable({false, true, true, true, true, true, true});
        QVector<ReportPage::Cell> cabeza{{{{QStringLiteral("No. Factura"), true}}}};
        for (const char* t : {"Valor Neto", "Impuesto", "Descuento", "Abono", "Saldo", "Total"})
            cabeza.append({{{QLatin1String(t), true}}, true});
        pagina.addRow(cabeza);

        static const char* const columnas[] = {"valor_neto", "impuesto_total", "descuento", "abono", "saldo", "total"};
        int indices[6];
        for (int i = 0; i < 6; ++i)
            indices[i] = Columna(rs, QLatin1String(columnas[i]));
        const int numero = Columna(rs, QStringLiteral("codigo_fac"));
        qint64 sumas[6] = {0, 0, 0, 0, 0, 0};
        // The row's six amounts, "$1,200.50", one after the other in one
        // text kept from row to row.
        QString dinero;
        qsizetype fin[7] = {0};
        for (int n = 0; !rs.Eof(); ++n) {
            dinero.resize(0);
            for (int i = 0; i < 6; ++i) {
                const qint64 c = Dinero::De(Monto(rs, indices[i])).centavos();
                dinero += QLatin1Char('$');
                Dinero::DeCentavos(c).AgregarA(dinero);
                fin[i + 1] = dinero.size();
                sumas[i] += c;
            }
            auto celda = [&](int i) { return QStringView(dinero).mid(fin[i], fin[i + 1] - fin[i]); };
            const QString codigo = rs.Fields(numero).Text();
            f.Escribir(QLatin1StringView(" <tr bgcolor="));
            f.Escribir(ColorDeFila(n));
            f.Escribir(QLatin1StringView("><td>"));
            f.Escribir(Html(codigo));
            f.Escribir(QLatin1StringView("</td><td><P align=right><FONT face='Arial'>"));
            for (int i = 0; i < 6; ++i) {
                if (i > 0)
                    f.Escribir(QLatin1StringView("</FONT></P></td><td><P align=right><FONT face='Arial'>"));
                f.Escribir(celda(i));
            }
            f.Escribir(QLatin1StringView("</FONT></P></td></tr>"));
            pagina.addTexts({ReportPage::simplified(codigo), celda(0), celda(1), celda(2), celda(3), celda(4), celda(5)},
                            ColorDePagina(n));
            rs.MoveNext();
        }
        f.Escribir(QLatin1StringView("</TABLE><br><Br></td></tr>"));
        static const char* const etiquetas[] = {"<tr><td><br><Br><h3>TOTALES</h3><table><tr><td><strong>Valores Netos:</strong></td>",
                                                "<tr><td><strong>Impuestos:</strong></td>",
                                                "<tr><td><strong>Descuentos:</strong></td>",
                                                "<tr><td><strong>Abonos:</strong></td>",
                                                "<tr><td><strong>Saldos:</strong></td>",
                                                "<tr><td><strong>Totales:</strong></td>"};
        static const char* const rotulos[] = {"Valores Netos:", "Impuestos:", "Descuentos:", "Abonos:", "Saldos:", "Totales:"};
        pagina.addLine({{QStringLiteral("TOTALES")}}, ReportPage::Heading);
        pagina.beginTable();
        for (int i = 0; i < 6; ++i) {
            const QString suma = QLatin1Char('$') + Dinero::DeCentavos(sumas[i]).Texto();
            f.Escribir(QLatin1String(etiquetas[i]) + QStringLiteral("<td><P align=right><FONT face='Arial'>") + suma
                       + (i < 5 ? QStringLiteral("</FONT></P></td></tr>")
                                : QStringLiteral("</FONT></P></td></tr></tr></table></td></tr></table>")));
            pagina.addRow({{{{QLatin1String(rotulos[i]), true}}}, {{{suma}}, true}});
        }
        f.Escribir(QStringLiteral("</FONT><br>") + kPieReporte);
        CerrarPagina(pagina);
        return true;
    });
    if (!ok)
        return;
    web->Navigate(f.ruta(), std::move(pagina));
}
