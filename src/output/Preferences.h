#pragma once
// The settings file "com.pelvoro.card.plist" in the resource folder: the
// mail account, a dictionary of six strings. It holds the password, so only
// its owner may read it.
#include <QString>
#include <QVariantMap>

class Preferences {
public:
    // A fresh store read from the settings file; nothing is cached, so every
    // call sees what is on disk now. A missing file is created empty.
    static Preferences sharedInstance();

    QString mPreferencesPath;
    QVariantMap mDict;

    // The five keys other than "SendEnableSSL" set to "" (in memory).
    void setDefaults();
    // Writes the dictionary whole (owner read and write only); false, logged,
    // when the file could not be written, which then stays as it was.
    bool flush() const;

    // A missing key gives a null string.
    QString send_email_Recipient() const { return value("SendEmailRecipient"); }
    QString send_email_SenderEmail() const { return value("SendEmailSender"); }
    QString send_email_Password() const { return value("SendEmailPwd"); }
    QString send_email_SMTP_server() const { return value("SendEmailSMTP"); }
    QString send_email_PORT_num() const { return value("SendEmailPORT"); }
    // "Y" SSL, "N" TLS; missing until the settings are first saved.
    QString send_email_enable_ssl() const { return value("SendEnableSSL"); }

    void setsend_email_Recipient(const QString& v) { mDict.insert(QStringLiteral("SendEmailRecipient"), v); }
    void setsend_email_SenderEmail(const QString& v) { mDict.insert(QStringLiteral("SendEmailSender"), v); }
    void setsend_email_Password(const QString& v) { mDict.insert(QStringLiteral("SendEmailPwd"), v); }
    void setsend_email_SMTP_server(const QString& v) { mDict.insert(QStringLiteral("SendEmailSMTP"), v); }
    void setsend_email_PORT_num(const QString& v) { mDict.insert(QStringLiteral("SendEmailPORT"), v); }
    void setsend_email_enable_ssl(const QString& v) { mDict.insert(QStringLiteral("SendEnableSSL"), v); }

private:
    Preferences() = default;
    QString value(const char* key) const;
};

// Reads a fresh store into the mail globals (sender_email, sender_pwd,
// sending_server, sending_port, send_enable_ssl); a missing key gives null.
void Get_Email_Details();
