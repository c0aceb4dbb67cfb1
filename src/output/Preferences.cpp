#include "output/Preferences.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

Preferences Preferences::sharedInstance()
{
    Preferences p;
    p.mPreferencesPath = Resource_Path + QStringLiteral("/com.pelvoro.card.plist");
    if (QFileInfo::exists(p.mPreferencesPath)) {
        QString error;
        const auto root = platform::plistReadFile(p.mPreferencesPath, &error);
        if (root && root->typeId() == QMetaType::QVariantMap)
            p.mDict = root->toMap();
        else
            Show_NSLog_Message(QStringLiteral("Settings file unreadable: %1").arg(error));
    }
    return p;
}

QString Preferences::value(const char* key) const
{
    const auto it = mDict.constFind(QString::fromLatin1(key));
    return it == mDict.constEnd() ? QString() : it->toString();
}
