#include "Factura.h"

#include "Dinero.h"
#include "mFunciones.h"
#include "mNumeracionNCF.h"
#include "mAbonos.h"
#include "mUnidad.h"
#include "textfmt.h"

#include <QSet>

QString Factura::campo(int i) const
{
    return i >= 0 && i < encabezado.size() && encabezado[i] ? *encabezado[i] : QString();
}

// ---- lines ----

double SubTotalLinea(double cantidad, double valorUnitario, double impuesto)
{
    return RoundHalfEven((impuesto / 100 + 1) * (valorUnitario * cantidad));
}

static bool Numero(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (!IsPlainNumber(t))
        return false;
    out = Val(t);
    return true;
}

bool LeerLinea(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
               const QString& impuesto, const QString& subTotal, const QString& precioCompra, LineaFactura& linea)
{
    LineaFactura l;
    l.codigo_art = codigo;
    l.descripcion_art = descripcion;
    if (!CantidadTecleada(cantidad, l.cantidad) || !Numero(valor, l.valor_unitario) || !CantidadTecleada(impuesto, l.impuesto)
        || !Numero(subTotal, l.SubTotal) || !Numero(precioCompra, l.precio_compra))
        return false;
    linea = l;
    return true;
}

LineaFactura LineaDeTextos(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
                           const QString& impuesto, const QString& subTotal, const QString& precioCompra)
{
    LineaFactura l;
    if (LeerLinea(codigo, descripcion, cantidad, valor, impuesto, subTotal, precioCompra, l))
        return l;
    l.codigo_art = codigo;
    l.descripcion_art = descripcion;
    l.cantidad = qint16(qBound(-32768.0, RoundHalfEven(Val(cantidad)), 32767.0));
    l.valor_unitario = Val(valor);
    l.impuesto = qint16(qBound(-32768.0, RoundHalfEven(Val(impuesto)), 32767.0));
    l.SubTotal = Val(subTotal);
    l.precio_compra = Val(precioCompra);
    return l;
}

// ---- totals ----

TotalesFactura CalcularTotales(const QVector<LineaFactura>& lineas)
{
    TotalesFactura t;
    for (const LineaFactura& l : lineas) {
        const double q = l.cantidad;
        const double p = l.valor_unitario;
        const double r = l.impuesto;
        t.neto = t.neto + q * p;
        t.impuesto = SumarImpuesto(t.impuesto, q, p, r);
    }
    return t;
}

double SumarImpuesto(double acumulado, double q, double p, double r) { return RoundHalfEven(acumulado + (r / 100) * (q * p)); }

CajasTotales MostrarTotales(const QVector<LineaFactura>& lineas)
{
    CajasTotales c;
    if (!lineas.isEmpty()) {
        const TotalesFactura t = CalcularTotales(lineas);
        c.neto = NumText(t.neto);
        c.impuesto = NumText(t.impuesto);
    }
    c.descuento = c.abono = QStringLiteral("000");
    c.saldo = NumText(Val(c.neto) + Val(c.impuesto));
    c.total = c.saldo;
    return c;
}

CajasSaldo SeguirDescuento(const QString& neto, const QString& impuesto, const QString& descuento,
                           const QString& abono)
{
    CajasSaldo c;
    c.total = NumText(Val(neto) + Val(impuesto) - Val(descuento));
    c.saldo = SeguirAbono(c.total, abono);
    return c;
}

QString SeguirAbono(const QString& total, const QString& abono) { return NumText(Val(total) - Val(abono)); }

std::optional<AvisoAplicar> RevisarEstadoAplicar(const EstadoAplicar& e, const QString& listado)
{
    if (!e.nueva)
        return AvisoAplicar{QStringLiteral("Esta factura ya fue aplicada; abra una factura nueva desde el listado de ") + listado};
    // The list's "Salir" leaves the window open outside the entry of a new
    // invoice: nothing may be stored from it then.
    if (e.modoVentana != 2)
        return AvisoAplicar{
            QStringLiteral("La ventana ya no está ingresando una factura nueva; abra una factura nueva desde el listado de ")
            + listado};
    if (e.modoDetalle != 3)
        return AvisoAplicar{
            QStringLiteral("Termine de adicionar o editar el artículo (Actualizar u Omitir) antes de aplicar la factura")};
    if (e.lineas < 1)
        return AvisoAplicar{QStringLiteral("Ingrese los artículos de la factura"), MsgStyle::Plain};
    return std::nullopt;
}

QString CuentaAplicar::estado() const
{
    return saldo == 0 ? QStringLiteral("Cancelada") : QStringLiteral("Sin Cancelar");
}

CuentaAplicar CalcularAplicar(const QString& neto, const QString& impuesto, const QString& descuento,
                              const QString& abono)
{
    CuentaAplicar c;
    Dinero dinero[2];  // discount, amount paid
    const QString textos[2] = {descuento, abono};
    for (int i : {6, 7}) {
        const QString t = textos[i - 6].trimmed();
        if (t.isEmpty())
            continue;
        const std::optional<Dinero> d = Dinero::Leer(t);
        if (!d) {
            c.falla = CuentaAplicar::Falla::Dinero;
            c.caja = i;
            return c;
        }
        dinero[i - 6] = *d;
    }
    const Dinero netoC = Dinero::De(Val(neto)), impuestoC = Dinero::De(Val(impuesto));
    const Dinero total = netoC + impuestoC - dinero[0], saldo = total - dinero[1];
    c.neto = netoC.valor();
    c.impuesto = impuestoC.valor();
    c.total = total.valor();
    c.saldo = saldo.valor();
    if (c.saldo < 0)
        c.falla = CuentaAplicar::Falla::SaldoNegativo;
    return c;
}

// ---- the store ----

RevisionAplicar RevisarAplicar(const Factura& f, const QString& terceros, const QString& codigoTercero)
{
    using Falla = RevisionAplicar::Falla;
    RevisionAplicar r;
    for (int i : {2, 12}) {
        const QString fecha = f.campo(i).trimmed();
        if ((i == 2 || !fecha.isEmpty()) && !ParseDate(fecha).isValid()) {
            r.falla = Falla::Fecha;
            r.caja = i;
            return r;
        }
    }
    r.tercero = f.campo(1).trimmed();
    if (r.tercero.isEmpty()) {
        r.falla = Falla::SinTercero;
        return r;
    }
    gSQL = QStringLiteral("Select ") + codigoTercero + QStringLiteral(" From ") + terceros + QStringLiteral(" Where ")
           + codigoTercero + QStringLiteral(" = ") + SqlStr(r.tercero);
    if (!AbrirRecordset(gSQL)) {
        r.falla = Falla::Store;
        return r;
    }
    if (gRecordset->RecordCount() < 1) {
        r.falla = Falla::TerceroAusente;
        return r;
    }
    r.usuario = f.campo(14).trimmed();
    gSQL = QStringLiteral("Select codigo_usu From usuarios Where codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" And codigo_usu = ") + SqlStr(r.usuario);
    if (!AbrirRecordset(gSQL)) {
        r.falla = Falla::Store;
        return r;
    }
    if (gRecordset->RecordCount() < 1 || f.campo(13).trimmed() != gCodigoEmp) {
        r.falla = Falla::UsuarioAusente;
        return r;
    }
    Err.Clear();
    if (!Trap([&] { r.articulo = ArticuloAusente(f.lineas); })) {
        ControlErrores();
        r.falla = Falla::Store;
    } else if (!r.articulo.isEmpty()) {
        r.falla = Falla::ArticuloAusente;
    }
    return r;
}

QString ArticuloAusente(const QVector<LineaFactura>& lineas)
{
    // A line keeps its article's code as the clerk entered it; another
    // workstation may have removed the article since. One look-up for all.
    QStringList marcas;
    QVector<QVariant> codigos;
    for (const LineaFactura& l : lineas) {
        marcas << QStringLiteral("?");
        codigos << l.codigo_art;
    }
    if (codigos.isEmpty())
        return QString();
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select codigo_art From ARTICULOS Where codigo_art In (") + marcas.join(QStringLiteral(", "))
                + QLatin1Char(')'),
            Conexion(), codigos);
    QSet<QString> guardados;
    for (; !rs.Eof(); rs.MoveNext())
        guardados.insert(rs.Fields(0).Text().toCaseFolded());
    for (const LineaFactura& l : lineas)
        if (!guardados.contains(l.codigo_art.toCaseFolded()))
            return l.codigo_art;
    return QString();
}

NcfTecleado RevisarNcfTecleado(const QString& ncf)
{
    gSQL = QStringLiteral("Select codigo_fac From Ventas Where codigo_emp = ") + gCodigoEmp + QStringLiteral(" And ncf = ")
           + SqlStr(ncf);
    if (!AbrirRecordset(gSQL))
        return NcfTecleado::Store;
    return gRecordset->RecordCount() > 0 ? NcfTecleado::Repetido : NcfTecleado::Libre;
}

void GuardarEncabezado(const Factura& f, const QString& tabla, const QHash<int, QString>& cambios)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select * From ") + tabla + QStringLiteral(" Where 1 = 0"), Conexion());
    rs.AddNew();
    for (int i = 0; i < rs.FieldCount(); ++i) {
        if (i >= f.encabezado.size() || !f.encabezado[i])
            throw ado::Error{ado::err::NoControl, QStringLiteral("El elemento %1 de la matriz de controles no existe").arg(i)};
        rs.Fields(i).setValue(cambios.contains(i) ? cambios.value(i) : *f.encabezado[i]);
    }
    rs.Update();
}

QString GuardarDetalle(const QString& numero, const QString& empresa, const QString& tabla,
                       const QVector<LineaFactura>& lineas, const QString& movimiento, const QString& concepto,
                       OrigenMovimiento origen)
{
    // Rows are added without reading the table.
    gRecordset = std::make_shared<ado::Recordset>();
    ado::Recordset& rs = *gRecordset;
    rs.Open(QStringLiteral("Select * From ") + tabla + QStringLiteral(" Where 1 = 0"), Conexion());
    const int n = lineas.size();
    QString ausente;
    for (gIndice = 1; gIndice <= n; ++gIndice) {
        const LineaFactura& l = lineas[int(gIndice) - 1];
        rs.AddNew();
        rs.Fields(QStringLiteral("codigo_fac")).setValue(numero);
        rs.Fields(QStringLiteral("codigo_art")).setValue(l.codigo_art);
        rs.Fields(QStringLiteral("descripcion_art")).setValue(l.descripcion_art);
        rs.Fields(QStringLiteral("cantidad")).setValue(l.cantidad);
        rs.Fields(QStringLiteral("valor_unitario")).setValue(l.valor_unitario);
        rs.Fields(QStringLiteral("impuesto")).setValue(l.impuesto);
        rs.Fields(QStringLiteral("SubTotal")).setValue(l.SubTotal);
        rs.Fields(QStringLiteral("precio_compra_det")).setValue(l.precio_compra);
        rs.Fields(QStringLiteral("codigo_emp")).setValue(empresa);
        rs.Update();
        if (!MoverArticulo(l.codigo_art, l.cantidad, l.precio_compra, movimiento, concepto, origen)
            && ausente.isEmpty())
            ausente = l.codigo_art;
    }
    return ausente;
}

QString NumeroLibre(const QString& tabla, const QString& numero, const QString& codigoEmp)
{
    const QString& t = tabla;
    const QString empresa = QStringLiteral("codigo_emp = ") + codigoEmp;
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select codigo_fac From ") + t + QStringLiteral(" Where codigo_fac = ") + numero
                + QStringLiteral(" and ") + empresa,
            Conexion());
    if (rs.RecordCount() < 1)
        return numero;
    // The end of the run of stored numbers that starts at this one.
    ado::Recordset siguiente;
    siguiente.Open(QStringLiteral("Select min(a.codigo_fac) + 1 From ") + t + QStringLiteral(" a Where a.") + empresa
                       + QStringLiteral(" And a.codigo_fac >= ") + numero + QStringLiteral(" And Not Exists (Select 1 From ")
                       + t + QStringLiteral(" b Where b.") + empresa + QStringLiteral(" And b.codigo_fac = a.codigo_fac + 1)"),
                   Conexion());
    return NumText(siguiente.Fields(0).toDouble());
}

void RegistrarAbonoInicial(const Factura& f, const QString& numero, const QString& tabla, const QString& empresa)
{
    gAbono.codigo_fac = numero;
    gAbono.num_abono = 1;
    gAbono.valor_abono = EnCentavos(Val(f.campo(7)));
    gAbono.fecha_abono = ParseDate(f.campo(2));
    gAbono.codigo_emp = qint16(empresa.toInt());
    InsertarAbono(gAbono, tabla);
}

ResultadoAplicar AplicarVenta(const Factura& f, double saldo, qint16 id, bool deRango)
{
    using Estado = ResultadoAplicar::Estado;
    ResultadoAplicar r;
    QString& numero = r.numero;
    QString& ncf = r.ncf;
    const QString empresa = gCodigoEmp;

    const bool ok = EnTransaccion([&](ado::Connection&) {
        // A unit may run again: each run starts afresh.
        r = ResultadoAplicar();
        // The company's row first: one apply of the company at a time,
        // so the number and NCF checks below hold until the commit.
        BloquearEmpresa(empresa);
        // The cash is counted already: a number or NCF another workstation
        // stored since they were proposed gives way to the next free one.
        numero = NumeroLibre(QStringLiteral("Ventas"), f.campo(0).trimmed(), empresa);
        ncf = f.campo(15).trimmed();
        double secuencia = 0;
        if (deRango) {
            EstadoNCF e = ReservarNCF(id, ncf, QStringLiteral("Ventas"), empresa, secuencia);
            if (e == EstadoNCF::Tomado) {
                ncf = TextoNCF(ncf.chopped(8), secuencia);
                e = ReservarNCF(id, ncf, QStringLiteral("Ventas"), empresa, secuencia);
            }
            switch (e) {
            case EstadoNCF::Libre:
                break;
            case EstadoNCF::Tomado:
                r.estado = Estado::NcfTomado;
                break;
            case EstadoNCF::Agotado:
            case EstadoNCF::SinRango:
                r.estado = Estado::NcfAgotado;
                break;
            }
        } else if (!ncf.isEmpty() && NCFRegistrado(ncf, QStringLiteral("Ventas"), empresa)) {
            r.estado = Estado::NcfManualRepetido;
        }
        if (r.estado != Estado::Guardada)
            return false;
        GuardarEncabezado(f, QStringLiteral("Ventas"), {{0, numero}, {15, ncf}});
        r.articulo = GuardarDetalle(numero, empresa, QStringLiteral("Detalles_FacVen"), f.lineas, SalidaArticulos(),
                                    QStringLiteral("Factura De Venta ") + numero, OrigenMovimiento::Venta);
        if (!r.articulo.isEmpty()) {
            r.estado = Estado::ArticuloAusente;
            return false;
        }
        if (saldo > 0)
            RegistrarAbonoInicial(f, numero, QStringLiteral("Fact_xCobrar"), empresa);
        r.consecutivo = EscribirConsecutivo(QStringLiteral("consecutivo_venta"), Val(numero), empresa);
        if (deRango)
            r.consecutivoNcf = EscribirConsecutivoNCF(QStringLiteral("consecutivo"), Val(ncf.right(8)), id, empresa);
        return true;
    });
    if (!ok)
        r.estado = Estado::Fallo;
    return r;
}

ResultadoAplicar AplicarCompra(const Factura& f, double saldo)
{
    ResultadoAplicar r;
    const QString empresa = gCodigoEmp;
    const bool ok = EnTransaccion([&](ado::Connection&) {
        r = ResultadoAplicar();
        // The company's row first: the applies of one company run one
        // after the other, whatever articles they touch.
        BloquearEmpresa(empresa);
        // A number another workstation stored meanwhile gives way to the
        // next free one.
        r.numero = NumeroLibre(QStringLiteral("Compras"), f.campo(0).trimmed(), empresa);
        GuardarEncabezado(f, QStringLiteral("Compras"), {{0, r.numero}});
        r.articulo = GuardarDetalle(r.numero, empresa, QStringLiteral("Detalles_FacCom"), f.lineas, EntradaArticulos(),
                                    QStringLiteral("Factura de Compra ") + r.numero, OrigenMovimiento::Compra);
        if (!r.articulo.isEmpty()) {
            r.estado = ResultadoAplicar::Estado::ArticuloAusente;
            return false;
        }
        if (saldo > 0)
            RegistrarAbonoInicial(f, r.numero, QStringLiteral("Fact_xPagar"), empresa);
        r.consecutivo = EscribirConsecutivo(QStringLiteral("consecutivo_compra"), Val(r.numero), empresa);
        return true;
    });
    r.ncf = f.campo(15).trimmed();
    if (!ok)
        r.estado = ResultadoAplicar::Estado::Fallo;
    return r;
}

ResultadoAnular AnularFactura(const TablasAnular& t, const QString& n, const QString& notas)
{
    ResultadoAnular r;
    const QString donde = QStringLiteral(" and codigo_emp = ") + gCodigoEmp;
    r.ok = EnTransaccion([&](ado::Connection& cn) {
        r.existe = true;
        r.yaAnulada = false;
        // Read again under lock: another workstation may have annulled it.
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select * from ") + t.facturas + QStringLiteral(" Where codigo_fac = ") + n + donde
                    + QStringLiteral(" FOR UPDATE"),
                cn);
        if (rs.RecordCount() < 1)
            r.existe = false;
        else if (rs.Fields(11).Text() == QLatin1String("Anulada"))
            r.yaAnulada = true;
        if (!r.existe || r.yaAnulada)
            return false;
        rs.Fields(10).setValue(notas);
        rs.Fields(11).setValue(QStringLiteral("Anulada"));
        rs.Update();
        AnularDetalleFactura(QStringLiteral("Select * from ") + t.detalles + QStringLiteral(" where codigo_fac = ") + n + donde,
                             t.stock, t.concepto + n, t.origen);
        return true;
    });
    return r;
}

void AnularDetalleFactura(const QString& sql, const QString& movimiento, const QString& concepto,
                          OrigenMovimiento origen)
{
    // One walk of the lines: the movement reads the article from the
    // current row of gRecordset, the quantity and price come from that row
    // too (a second open need not return the rows in the same order).
    const ado::RecordsetPtr lineas = std::make_shared<ado::Recordset>();
    gRecordset = lineas;
    ado::Recordset& rs = *lineas;
    rs.Open(sql, Conexion());
    while (!rs.Eof()) {
        const double cantidad = RoundHalfEven(rs.Fields(QStringLiteral("cantidad")).toDouble());
        if (cantidad < -32768 || cantidad > 32767)
            throw ado::Error{ado::err::Overflow, QStringLiteral("Desbordamiento")};
        MoverArticulo(rs.Fields(QStringLiteral("codigo_art")).Text(), qint16(cantidad),
                      rs.Fields(QStringLiteral("precio_compra_det")).toDouble(), movimiento, concepto, origen);
        rs.MoveNext();
    }
}

