// The client and supplier properties windows are twins: nine boxes bound by
// position to the nine columns of the table, a picture, Aceptar and
// Cancelar. This holds what they share; fClientes and fProveedores give
// captions, names and positions.
#pragma once

#include "boxes.h"
#include "mFuncionesCajas.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

class fDatosTercero : public QWidget {
    Q_OBJECT
public:
    // txt(i) has the objectName "txt<i>"; txt(6) is multi-line.
    BoxArray txt;
    QGroupBox* Frame1 = nullptr;
    QLabel* Imagen = nullptr;  // "Imagen_cli" or "Imagen_prov"
    QPushButton* bBuscarImagen = nullptr;
    QPushButton* bAceptar = nullptr;
    QPushButton* bCancelar = nullptr;

    // Opened for a new record: mode 2, today's date into box 7, shown. The
    // other boxes keep what they hold.
    void Nuevo();
    // Opened on a stored record: shown, the row copied into the boxes,
    // mode 1 (also when nothing was found).
    void Editar(const QString& codigo);

    // Captions, names and positions of one twin.
    struct Diseno {
        QString nombre, caption, frame, tabla, sufijo, imagen, carpeta;
        QString etiquetas[9];
        int pos[9][4];  // left, top, width, height in twips
        int imgLeft, imgTop;
        int aceptar[4], cancelar[4];
        int anchoTw, altoTw;
        bool cancelarEsDefecto;
    };

protected:
    void showEvent(QShowEvent* e) override;
    fDatosTercero(const Diseno& d, qint32& modo);

private:
    void Aceptar();
    void BuscarImagen();
    QString Sentencia(const QString& codigo) const;
    // Edit mode with box 0 typed over to the code of another stored row.
    bool CodigoDeOtroRegistro();

    QString tabla_, sufijo_, carpeta_;
    qint32& modo_;
    QString codigoCargado_;  // box 0 as the record was loaded
    FilaCargada fila_;       // the row as it was loaded; empty for a new record
};
