// Fixtures of the administration tests: companies, users and invoices with
// their lines and payments written directly, and the signed-in values.
#pragma once

#include "TestStore.h"
#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QComboBox>
#include <QListWidget>
#include <QtTest>

namespace adm {

inline void empresa(const teststore::Target& t, int codigo, const QString& nombre, const QString& costeo = "PromedioPonderado")
{
    teststore::execRaw(t, QString("INSERT INTO empresas (codigo_emp, nombre_emp, identificacion_emp, direccion_emp, regimen_emp, "
                                  "PieFactura1, PieFactura2, PieFactura3, PieFactura4, PieFactura5, PieFactura6, costeo_inventario, "
                                  "consecutivo_compra, consecutivo_venta, prefijo_ncf, desde_ncf, hasta_ncf, consecutivo_ncf) "
                                  "VALUES (%1, '%2', 'RNC-%1', 'CALLE %1', 'NORMAL', 'P1', 'P2', 'P3', 'P4', 'P5', 'P6', '%3', 7, 9, "
                                  "'A01', 1, 50, 3)")
                              .arg(codigo)
                              .arg(nombre, costeo));
}

inline void usuario(const teststore::Target& t, int emp, const QString& codigo, const QString& nombre,
                    const QString& clave = "clave", const QString& nivel = "Asistente")
{
    teststore::execRaw(t, QString("INSERT INTO usuarios (codigo_emp, codigo_usu, nombre_usu, password_usu, nivel_usu) "
                                  "VALUES (%1, '%2', '%3', '%4', '%5')")
                              .arg(emp)
                              .arg(codigo, nombre, clave, nivel));
}

// An NCF range 1 to 100 of branch sucursal.
inline void rango(const teststore::Target& t, const QString& descripcion, int consecutivo, const QString& sucursal = "1",
                  const QString& prefijo = "A01")
{
    teststore::execRaw(t, QString("INSERT INTO ncfs (descripcion, prefijo, desde, hasta, consecutivo, id_sucursal) "
                                  "VALUES ('%1', '%2', 1, 100, %3, '%4')")
                              .arg(descripcion, prefijo)
                              .arg(consecutivo)
                              .arg(sucursal));
}

// A header with one line and one payment; ventas false writes a purchase.
inline void factura(const teststore::Target& t, bool ventas, int emp, int numero, const QString& usu = "1",
                    const QString& estado = "Sin Cancelar")
{
    const QString cab = ventas ? "Ventas" : "Compras", parte = ventas ? "codigo_cli" : "codigo_prov";
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, %2, fecha, forma_pago, valor_neto, impuesto_total, descuento, abono, "
                                  "saldo, total, notas, Estado, fecha_vencimiento, codigo_emp, codigo_usu, ncf) VALUES (%3, '0', "
                                  "'2024-05-01', 'CREDITO', 100, 16, 0, 50, 66, 116, '', '%4', '2024-06-01', %5, '%6', '')")
                              .arg(cab, parte)
                              .arg(numero)
                              .arg(estado)
                              .arg(emp)
                              .arg(usu));
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, codigo_emp, codigo_art, descripcion_art, cantidad, valor_unitario, "
                                  "impuesto, SubTotal, precio_compra_det) VALUES (%2, %3, 'A1', 'ART', 1, 100, 16, 116, 80)")
                              .arg(ventas ? "Detalles_FacVen" : "Detalles_FacCom")
                              .arg(numero)
                              .arg(emp));
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, num_abono, valor_abono, fecha_abono, codigo_emp) "
                                  "VALUES (%2, 1, 50, '2024-05-01', %3)")
                              .arg(ventas ? "Fact_xCobrar" : "Fact_xPagar")
                              .arg(numero)
                              .arg(emp));
}

inline int contar(const teststore::Target& t, const QString& tabla, const QString& donde = "1=1")
{
    return teststore::scalarRaw(t, QString("SELECT COUNT(*) FROM %1 WHERE %2").arg(tabla, donde)).toInt();
}

// Headers, lines and payments of sales (or purchases) of a company, as
// "header/lines/payments".
inline QString facturas(const teststore::Target& t, bool ventas, int emp)
{
    const QString w = QString("codigo_emp = %1").arg(emp);
    return QString("%1/%2/%3")
        .arg(contar(t, ventas ? "Ventas" : "Compras", w))
        .arg(contar(t, ventas ? "Detalles_FacVen" : "Detalles_FacCom", w))
        .arg(contar(t, ventas ? "Fact_xCobrar" : "Fact_xPagar", w));
}

// The seed administrator of company 1 signed in.
inline void sesion(int nivel = 0, const QString& clave = "1234")
{
    gCodigoEmp = "1";
    gNombreEmp = "EMPRESA PRINCIPAL";
    gCodigoUsu = "1";
    gNombreUsu = "ADMINISTRADOR";
    gPasswordUsu = clave;
    gNivelUsu = nivel;
    gSesionIniciada = true;
}

// Message boxes answered: questions by respuesta, the password prompt by
// clave.
inline void responder(MsgResult respuesta = MsgResult::Yes, const QString& clave = "1234")
{
    msgtest::install([respuesta](const msgtest::Call&) { return respuesta; },
                     [clave](const msgtest::Call&) { return clave; });
}

// The texts of the message boxes shown, without the password prompts.
inline QStringList mensajes()
{
    QStringList s;
    for (const auto& c : msgtest::calls())
        if (!c.input)
            s << c.text;
    return s;
}

inline void elegir(QListWidget* l, const QString& texto)
{
    const auto it = l->findItems(texto, Qt::MatchExactly);
    QVERIFY2(!it.isEmpty(), qPrintable("not in the list: " + texto));
    l->setCurrentRow(-1);  // so that choosing the current row again counts
    l->setCurrentItem(it.first());
}

inline QStringList textos(const QListWidget* l)
{
    QStringList s;
    for (int i = 0; i < l->count(); ++i)
        s << l->item(i)->text();
    return s;
}

}  // namespace adm
