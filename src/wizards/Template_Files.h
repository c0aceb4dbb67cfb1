#pragma once
// Template files: a template is a preview picture and a design log with the
// same base name in one folder. Built-in templates lie in the resource
// folder's "Templates", the user's own in its "User" subfolder; only user
// templates are copied, renamed or deleted.
#include <QString>
#include <QStringList>
#include <functional>

// The resource folder's template folders.
QString Builtin_Templates_Folder();
QString User_Templates_Folder();
// Why a name cannot be a template's file name (a path separator, a leading
// "." that would hide it, a control character), as the message to show; the
// empty text when it can. Any other name, one starting with ":" too, is
// taken literally as a file name in the template folder.
QString Template_Name_Problem(const QString& name);
// The preview pictures of a folder (extension "png" or "jpg" in any case)
// that have their design log beside them, sorted by name; empty when the
// folder does not exist.
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
// half copy left behind. Both files are written under temporary names and
// published with the design log last.
QString Copy_Template_Files(const QString& preview, const QString& new_preview);
// Gives a user template a new name: the preview is copied and checked, the
// design log moved to its new name, and only then the old preview removed.
// An empty text on success (or when the name is unchanged), else the
// message to show; nothing is removed when a copy failed. Killed at any
// point, the old or the new template is whole.
QString Rename_Template_Files(const QString& preview, const QString& new_name);
// Removes both files of a user template, the design log first: killed
// between the two, the preview is left alone, unlisted, and goes at
// start-up. False when the design log could not be removed (the template
// stays whole).
bool Delete_Template_Files(const QString& preview);
// Saves the design as the user template name ("<name>.png" and its design
// log), replacing a template of that name. The writers make the preview and
// the design log at the hidden work paths they are given (and say why when
// they fail); both are then published so that, killed at any step, the old
// template or the new one is whole once start-up has run. False when either
// writer failed, or with the reason in error when publishing failed.
using Template_File_Writer = std::function<bool(const QString& path)>;
bool Save_Template_Files(const QString& name, const Template_File_Writer& write_preview,
                         const Template_File_Writer& write_log, QString* error = nullptr);

// Start-up: finishes the template saves that had made their new design log
// ready, and removes what else interrupted saves, copies, renames and
// deletes left in the user template folder (a preview without its design
// log, part files, a ready preview whose design log never got ready), once
// no program uses it. Returns how many files were removed or finished.
int Remove_Unfinished_Templates();

// For tests: called after each step of a copy, rename, delete or save that
// changes the disk (1, 2, ...), so a test can stop the process there.
using Template_Step_Hook = std::function<void(int step)>;
void Set_Template_Step_Hook(Template_Step_Hook hook);
