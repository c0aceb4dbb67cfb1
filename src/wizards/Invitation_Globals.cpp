#include "wizards/Invitation_Globals.h"

QString Start_Card_Option = QStringLiteral("T");
QString Invite_Frame_IMG = QStringLiteral("");
QString Invite_Frame_Pic_IMG = QStringLiteral("");
