// Sign-in window: opens the store when it is created, lists the companies
// and their users, checks the password, keeps the company's and the user's
// values and the two port names, opens the main window and greets the
// customer on the pole display.
//
// The connection buttons and the port boxes sit in a "Conexión" section that
// bConexion unfolds below the sign-in controls.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class fSplash : public QWidget {
    Q_OBJECT
public:
    explicit fSplash(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label3;
    QLabel* Label2;
    QListWidget* lstEmpresas;
    QLabel* Label7;
    QListWidget* lstUsuarios;
    QLabel* Label6;
    QLineEdit* tPassword;
    QPushButton* bContinuar;
    QPushButton* bSalir;
    QPushButton* bConexion;
    QWidget* fraConexion;
    QPushButton* bConectarAccess;
    QPushButton* bConectarMySql;
    QLabel* Label8;
    QLineEdit* txtCOM;
    QLabel* Label9;
    QLineEdit* txtLPT;

    void Form_Initialize();
    void bConectarAccess_Click();
    void bConectarMySql_Click();
    void lstEmpresas_Click();
    void lstUsuarios_Click();
    void bContinuar_Click();
    void tPassword_KeyPress(int KeyAscii);
    void bSalir_Click();
    void CargarEmpresas();
    void MostrarContenedor();

    // Unfolds or folds the "Conexión" section.
    void MostrarConexion(bool mostrar);

    // The server connection text ("DRIVER=...;SERVER=localhost;...").
    static QString TextoConexionServidor();
    // Tests put their own server's text here; "" restores the real one.
    static void SetTextoConexionServidorParaPruebas(const QString& texto);

    // The welcome on the pole display of port gPuertoCOM. A display that
    // does not answer is ignored; a port that names no device is told.
    static void EnviarBienvenida();

private:
    QString textoSeleccionado(const QListWidget* lst) const;
    bool entrando_ = false;
};
