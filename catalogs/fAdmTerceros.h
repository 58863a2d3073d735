// The client and supplier lists, twins over fAdmBase.
#pragma once

#include "fAdmBase.h"

#include "mEnganches.h"

class fDatosTercero;

class fAdmTerceros : public fAdmBase {
    Q_OBJECT
public:
    void cargarListView() override;
    void Despachar(const QString& caption) override;

    void Nuevo();
    void Propiedades();
    void Eliminar();
    void AbrirCuenta();  // "Por Cobrar" / "Por Pagar"

    // Captions, names and positions of one twin.
    struct Diseno {
        QString nombre, caption, finder, etiqueta, sql, cuenta, mnuNuevo, nuevo, pregunta, tabla, sufijo, generico;
        int lblLeft, finderLeft, finderWidth;
        QString botones[7];  // caption of cmd(i)
        int left[7];
        QStringList columnas;
        QVector<int> anchos;
    };

protected:
    fAdmTerceros(const Diseno& d);
    virtual fDatosTercero& Propiedad() = 0;
    virtual void Buscar() = 0;
    virtual void Cuenta(const QString& codigo) = 0;

private:
    Diseno d_;
};

// Client list. The receivables window comes with its own window: it hooks
// in here.
class fAdmCli : public fAdmTerceros {
    Q_OBJECT
public:
    fAdmCli();
    static inline const Enganche<void(const QString&)> abrirPorCobrar;  // fFact_xCobrar, with the code
protected:
    fDatosTercero& Propiedad() override;
    void Buscar() override;
    void Cuenta(const QString& codigo) override;
};

// Supplier list.
class fAdmProv : public fAdmTerceros {
    Q_OBJECT
public:
    fAdmProv();
    static inline const Enganche<void(const QString&)> abrirPorPagar;  // fFact_xPagar, with the code
protected:
    fDatosTercero& Propiedad() override;
    void Buscar() override;
    void Cuenta(const QString& codigo) override;
};
