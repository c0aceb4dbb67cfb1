#pragma once
// Where the values of an import or a generated series go. With
// file_name_required 1 they become a data-set file under a name the user
// typed; otherwise each goes into the value list of the data-set manager.
// With file_name_Insert 1 the manager then lists its sets anew.
#include <QString>
#include <QStringList>

// The set name a typed name makes (reserved characters removed at its ends).
// A null string, after saying why, when the name would leave the data-set
// folder, when a set of that name exists and the user keeps it, or (with
// refuse_in_use) when the design is bound to that set.
QString Accept_New_Data_Set_Name(const QString& typed, bool refuse_in_use = false);

// The message for a set the design is bound to.
QString Data_Set_In_Use_Message(const QString& name);

// Hands the values over: written whole as the set name (appended to it with
// append), or each to the manager's value list, which keeps the non-empty
// ones trimmed. False, after "Error in file accessing.", when the file could
// not be written; the old set is then as it was.
bool Deliver_Values(int file_name_required, int file_name_Insert, const QString& name, const QStringList& values,
                    bool append = false);
