// Administration of companies or branches (empresas), their NCF ranges
// (ncfs) and their users (usuarios). Three edit sections with a mode each
// (gModoEmpresa, gModoNcf, gModoUsuario: 2 adding, 1 editing, 3 idle) and
// the same five buttons each.
//
// Controls by objectName: txtEmpresas0..17 (the columns of empresas; 14 to
// 17 carried, hidden), cbEmpresas11, lstEmpresas; ncf0..5 (descripcion,
// prefijo, desde, hasta, consecutivo, id_sucursal; 5 hidden), idncf
// (hidden), ncfList; txtUsuarios0..4 (the columns of usuarios), tPassword,
// cbUsuarios4, lstUsuarios; bAdicionar/bActualizar/bOmitir/bEditar/bEliminar
// followed by Empresa, Ncf or Usuario; bCerrar (Esc).
#pragma once

#include "boxes.h"
#include "mEnganches.h"
#include "mFuncionesCajas.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class fEmpresasUsuarios : public QDialog {
    Q_OBJECT
public:
    explicit fEmpresasUsuarios(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLineEdit* txtEmpresas[18];
    QComboBox* cbEmpresas;
    QListWidget* lstEmpresas;
    QPushButton *bAdicionarEmpresa, *bActualizarEmpresa, *bOmitirEmpresa, *bEditarEmpresa, *bEliminarEmpresa;

    QLineEdit* ncf[6];
    QLineEdit* idncf;
    QListWidget* ncfList;
    QPushButton *bAdicionarNcf, *bActualizarNcf, *bOmitirNcf, *bEditarNcf, *bEliminarNcf;

    QGroupBox* Frame2;
    QLineEdit* txtUsuarios[5];
    QLineEdit* tPassword;
    QComboBox* cbUsuarios;
    QListWidget* lstUsuarios;
    QPushButton *bAdicionarUsuario, *bActualizarUsuario, *bOmitirUsuario, *bEditarUsuario, *bEliminarUsuario;

    QLabel* Label25;
    QPushButton* bCerrar;

    // Window.
    void Form_Load();
    // Focus entering the user delete button: the modes go idle and the
    // company list is refilled (as the load does), unless a section is
    // adding or editing.
    void bEliminarUsuario_GotFocus();
    void bCerrar_Click();

    // Companies.
    void CargarListaEmpresas();
    void LimpiarEmpresa();
    void lstEmpresas_Click();
    void cbEmpresas_Click();
    void bAdicionarEmpresa_Click();
    void bEditarEmpresa_Click();
    void bOmitirEmpresa_Click();
    void bActualizarEmpresa_Click();
    void bEliminarEmpresa_Click();

    // NCF ranges.
    void CargarListaNcf();
    void LimpiarNcf();
    void ncfList_Click();
    void idncf_Change();
    void bAdicionarNcf_Click();
    void bEditarNcf_Click();
    void bOmitirNcf_Click();
    void bActualizarNcf_Click();
    void bEliminarNcf_Click();

    // Users.
    void CargarListaUsuarios();
    void LimpiarUsuario();
    void txtUsuarios_Change(int Index);
    void lstUsuarios_Click();
    void cbUsuarios_Click();
    void bAdicionarUsuario_Click();
    void bEditarUsuario_Click();
    void bOmitirUsuario_Click();
    void bActualizarUsuario_Click();
    void bEliminarUsuario_Click();

    // A fresh window, modal over parent, loaded; returns when it is closed.
    static void Mostrar(QWidget* parent = nullptr);
    static inline const Enganche<void(fEmpresasUsuarios&)> alMostrar;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    struct Seccion {
        qint32* modo;
        QPushButton *adicionar, *actualizar, *omitir, *editar;
        void (fEmpresasUsuarios::*limpiar)();
        void (fEmpresasUsuarios::*cargar)();
        QLineEdit* const* cajas;
        int n;
        QStringList* cargado;  // the boxes as the record was loaded or saved
        FilaCargada* fila;     // the row as it was loaded or saved
        QList<int> contadores;  // its columns that other workstations move
    };
    // What an edit checks in the store, in one unit with its save.
    struct Resguardo {
        QString otro;            // finds a stored row of the typed key, not the loaded one
        QString actual;          // the counters of the loaded row, as stored now
        QList<int> contadores;   // their boxes, in the order of actual's columns
        QStringList nombres;     // their names in the refusal
    };
    // The buttons of a section after an add (2), an edit (1) or going idle (3).
    static void Modo(const Seccion& s, qint32 modo);
    Seccion empresa();
    Seccion rango();
    Seccion usuario();
    // Add and skip empty the section's boxes; edit keeps them.
    void Entrar(const Seccion& s, qint32 modo);
    // Writes the section's boxes with gSQL; idle and reloaded when it took.
    bool Guardar(const Seccion& s, const Resguardo& r = {});
    // Fills the list from the open gRecordset.
    void Llenar(QListWidget* lst, const QString& sql, const QString& campo);

    void conectarLista(QListWidget* lst, void (fEmpresasUsuarios::*click)());
    void BuscarUsuario();
    static QString Seleccion(const QListWidget* lst);
    BoxArray cajas(QLineEdit* const* boxes, int n) const;

    // The row just read as a section's loaded row.
    static void Cargada(const Seccion& s, ado::Recordset& rs, int primera = 0);

    QStringList cargadoEmpresa_, cargadoNcf_, cargadoUsuario_;
    FilaCargada filaEmpresa_, filaNcf_, filaUsuario_;
    bool llenando_ = false;
    bool limpiando_ = false;
};
