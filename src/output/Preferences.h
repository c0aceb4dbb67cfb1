#pragma once
// The settings file "com.pelvoro.card.plist" in the resource folder: the
// mail account, a dictionary of strings.
#include <QString>
#include <QVariantMap>

class Preferences {
public:
    // A fresh store read from the settings file (empty when there is none).
    static Preferences sharedInstance();

    QString mPreferencesPath;
    QVariantMap mDict;

    // A missing key gives a null string.
    QString send_email_Recipient() const { return value("SendEmailRecipient"); }
    QString send_email_SenderEmail() const { return value("SendEmailSender"); }
    QString send_email_Pwd() const { return value("SendEmailPwd"); }
    QString send_email_SMTP() const { return value("SendEmailSMTP"); }
    QString send_email_Port() const { return value("SendEmailPORT"); }
    QString send_enable_SSL() const { return value("SendEnableSSL"); }

private:
    QString value(const char* key) const;
};
