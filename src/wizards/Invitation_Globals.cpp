#include "wizards/Invitation_Globals.h"

#include <cstdio>
#include <cstdlib>

QString Start_Card_Option = QStringLiteral("T");
QString Invite_Title = QStringLiteral("");
QString Invite_Message = QStringLiteral("");
QString Invite_From = QStringLiteral("");
QString Invite_To = QStringLiteral("");
QString Invite_Venue = QStringLiteral("");
QString Invite_Date = QStringLiteral("");
QString Invite_Time = QStringLiteral("");
QString Invite_BG_IMG = QStringLiteral("");
QString Invite_Frame_IMG = QStringLiteral("");
QString Invite_Frame_Pic_IMG = QStringLiteral("");

namespace {
std::function<void(int)> g_endProcessHook;
}

std::function<void(int)> Set_End_Process_Hook(std::function<void(int)> hook)
{
    std::swap(g_endProcessHook, hook);
    return hook;
}

void End_Process(int status)
{
    if (g_endProcessHook) {
        g_endProcessHook(status);
        return;
    }
    std::fflush(nullptr);
    std::exit(status);
}
