#pragma once
// Template files: a template is a preview picture and a design log with the
// same base name in one folder. Built-in templates lie in the resource
// folder's "Templates", the user's own in its "User" subfolder; only user
// templates are copied, renamed or deleted.
#include <QString>
#include <QStringList>

// The resource folder's template folders.
QString Builtin_Templates_Folder();
QString User_Templates_Folder();
// The preview pictures of a folder (extension "png" or "jpg" in any case),
// sorted by name; empty when the folder does not exist.
QStringList List_Template_Previews(const QString& folder);
// The design log beside a preview: the preview's extension replaced by the
// design-log extension.
QString Template_Design_Log_Path(const QString& preview);
// True when path names a file directly inside the user-template folder.
bool Is_User_Template(const QString& path);
// The first "<name> (copy n).<ext>" beside the preview for which neither the
// preview nor its design log exists.
QString Create_New_File_Path(const QString& preview);
// Copies a template's two files to a new preview path (the design log
// follows its name); an empty text on success, else why it failed, with no
// half copy left behind.
QString Copy_Template_Files(const QString& preview, const QString& new_preview);
// Gives a user template a new name: both files are copied, the copies
// checked, and only then the old files removed. An empty text on success
// (or when the name is unchanged), else the message to show; nothing is
// removed when a copy failed.
QString Rename_Template_Files(const QString& preview, const QString& new_name);
// Removes both files of a user template; false when the preview could not be removed.
bool Delete_Template_Files(const QString& preview);
