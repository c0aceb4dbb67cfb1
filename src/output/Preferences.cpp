#include "output/Preferences.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr QFileDevice::Permissions Owner_Only = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

Preferences Preferences::sharedInstance()
{
    Preferences p;
    p.mPreferencesPath = Resource_Path + QStringLiteral("/com.pelvoro.card.plist");
    const QFileInfo info(p.mPreferencesPath);
    if (!info.exists()) {
        // Created empty, readable by its owner only: it will hold the password.
        // Without a resource folder there is nowhere to put it.
        QFile file(p.mPreferencesPath);
        if (!Resource_Path.isEmpty() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, Owner_Only))
            Show_NSLog_Message(QStringLiteral("Settings file not created: %1").arg(file.errorString()));
    } else if (info.size() > 0) {
        // A file that cannot be read is left as it is; the store starts empty.
        QString error;
        const auto root = platform::plistReadFile(p.mPreferencesPath, &error);
        if (root && root->typeId() == QMetaType::QVariantMap)
            p.mDict = root->toMap();
        else
            Show_NSLog_Message(QStringLiteral("Settings file unreadable: %1")
                                   .arg(error.isEmpty() ? QStringLiteral("not a dictionary") : error));
    }
    if (p.mDict.isEmpty())
        p.setDefaults();
    return p;
}

void Preferences::setDefaults()
{
    for (const char* key : {"SendEmailRecipient", "SendEmailSender", "SendEmailPwd", "SendEmailSMTP", "SendEmailPORT"})
        mDict.insert(QString::fromLatin1(key), QStringLiteral(""));
}

bool Preferences::flush() const
{
    QString error;
    const bool ok = platform::plistWriteFile(mPreferencesPath, mDict, platform::PlistFormat::Xml, &error, Owner_Only);
    if (!ok)
        Show_NSLog_Message(QStringLiteral("Settings not saved: %1").arg(error));
    return ok;
}

QString Preferences::value(const char* key) const
{
    const auto it = mDict.constFind(QString::fromLatin1(key));
    return it == mDict.constEnd() ? QString() : it->toString();
}

void Get_Email_Details()
{
    const Preferences prefs = Preferences::sharedInstance();
    sender_email = prefs.send_email_SenderEmail();
    sender_pwd = prefs.send_email_Password();
    sending_server = prefs.send_email_SMTP_server();
    sending_port = prefs.send_email_PORT_num();
    send_enable_ssl = prefs.send_email_enable_ssl();
}
