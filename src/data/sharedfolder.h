#pragma once

#include <QString>
#include <QStringList>

// A records folder that several logins share through a group (a family's folder such as
// /srv/mojimaru owned by their group with mode 2775): every file the program makes there must
// stay readable and writable by that group whatever the login's umask, or the next login
// cannot write what the last one made. A folder only its owner may write is left alone.
namespace moji::sharedfolder {

// Gives the open file `fd`, just made in `folder`, to the folder's group with read and write
// for that group, when the group may write in the folder; never leaves it writable by
// everyone. Does nothing in a folder of one login.
void shareNewFile(int fd, const QString& folder);

// The files of the program in a folder the group may write that an earlier copy left to its
// own login alone, or in another group (`names` are wildcard patterns): those this login owns
// are given to the folder's group with its rights; those of another login that this one cannot
// write are replaced by a shared copy (a rename in the folder, which only needs the folder's
// rights). A file that cannot be repaired is left as it is: the write that needs it reports it
// by name.
void repairSharing(const QString& folder, const QStringList& names);

} // namespace moji::sharedfolder
