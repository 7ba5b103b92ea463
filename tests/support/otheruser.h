#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;

// Another local user (nobody, uid 65534), for what other users can and cannot
// do to the client. Only root can act as another user (CI runs as root). The
// other user cannot enter this test's private folders, so it gets a folder of
// its own in /tmp: copies of the programs it runs, its own home, settings and
// data folders, and a temporary folder that all users share, as they share
// /tmp. Everything goes with the object.
class OtherUser final
{
public:
    static constexpr uint Uid = 65534;

    OtherUser();
    ~OtherUser();

    // Copies `programs` (file names in the programs' folder) where the other
    // user can run them. False, with the reason to skip, where that cannot be.
    bool prepare(const QStringList &programs, QString *why);

    QString programFolder() const;
    // Its TMPDIR, open to every user like /tmp (sticky); without a runtime
    // folder the client makes one of its own here.
    QString tempFolder() const;
    // `base` with the other user's folders and without XDG_RUNTIME_DIR.
    QProcessEnvironment environment(const QProcessEnvironment &base) const;
    // What runs a command as the other user: the command follows.
    QStringList runner() const;
    // Starts `program` as the other user.
    void start(QProcess *process, const QString &program, const QStringList &arguments) const;

private:
    QString folder(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_root;
};
