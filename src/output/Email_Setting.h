#pragma once
// The e-mail settings dialog: the SMTP account the mail window sends
// through, checked, tried with a test mail and saved in the settings file.
#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

class Email_Setting : public QDialog {
    Q_OBJECT
public:
    static Email_Setting* defaultInstance();

    // Shows the saved settings and runs the dialog modally.
    void Open_Wnd();
    void loadPreferences();
    // The fields, as typed, into the settings file.
    void flushPreferences();
    // The account fields (and the test recipient when with_recipient); the
    // first problem is shown, its field takes the focus, and false comes back.
    bool Check_Validation(bool with_recipient);

    // The please-wait sheet over the dialog while a test mail goes out.
    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();

    QLineEdit* _send_mail_sender_mail;
    QLineEdit* _send_mail_password;
    QLineEdit* _send_mail_smtp;
    QLineEdit* _send_mail_port;
    QLineEdit* _send_mail_to; // recipient of the test mail
    QLineEdit* _send_mail_test_mail; // the text of the test mail last sent
    QRadioButton* _send_mail_ssl;
    QRadioButton* _send_mail_tls;
    QLabel* _send_mail_result_status;
    QDialog* plz_wait_Window;

public slots:
    void Save_Button();
    void Close_Button();
    void Reset_Button();
    // Sends a test mail with the fields as typed (nothing is saved); the
    // window keeps painting while the mail goes out.
    void Send_Test_Email();
    void SSL_Selected();
    void TLS_Selected();

protected:
    // The dialog stays while a test mail goes out.
    void reject() override;

private:
    explicit Email_Setting(QWidget* parent = nullptr);
    bool testRunning = false;
};
