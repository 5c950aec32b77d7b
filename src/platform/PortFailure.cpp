#include "platform/PortLinks.h"
#include "platform/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QSerialPort>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::string SystemText(int Code)
{
    return std::error_code(Code, std::generic_category()).message();
}

std::string GroupName(gid_t Gid)
{
    std::vector<char> Buffer(16384);
    group Entry {};
    group *Found = nullptr;
    if (getgrgid_r(Gid, &Entry, Buffer.data(), Buffer.size(), &Found) == 0 && Found != nullptr)
        return Found->gr_name;
    return std::to_string(Gid);
}

bool InGroupNow(gid_t Gid)
{
    if (getegid() == Gid)
        return true;
    const int Count = getgroups(0, nullptr);
    std::vector<gid_t> Groups(static_cast<std::size_t>(Count > 0 ? Count : 0));
    if (Count <= 0 || getgroups(Count, Groups.data()) < 0)
        return false;
    for (gid_t Each : Groups)
        if (Each == Gid)
            return true;
    return false;
}

// The account's name and its groups as the user database has them now, which a running
// login does not see until the next one.
bool InGroupOnNextLogin(gid_t Gid, std::string &User)
{
    std::vector<char> Buffer(16384);
    passwd Entry {};
    passwd *Found = nullptr;
    if (getpwuid_r(getuid(), &Entry, Buffer.data(), Buffer.size(), &Found) != 0 || !Found) {
        User = std::to_string(getuid());
        return false;
    }
    User = Found->pw_name;
    int Count = 64;
    std::vector<gid_t> Groups(static_cast<std::size_t>(Count));
    if (getgrouplist(Found->pw_name, Found->pw_gid, Groups.data(), &Count) < 0) {
        Groups.resize(static_cast<std::size_t>(Count));
        if (getgrouplist(Found->pw_name, Found->pw_gid, Groups.data(), &Count) < 0)
            return false;
    }
    Groups.resize(static_cast<std::size_t>(Count));
    for (gid_t Each : Groups)
        if (Each == Gid)
            return true;
    return false;
}

std::string PermissionCause(const std::string &Device)
{
    struct stat Info
    {
    };
    if (::stat(Device.c_str(), &Info) != 0)
        return "no permission";
    const std::string Group = GroupName(Info.st_gid);
    if (InGroupNow(Info.st_gid))
        return "no permission: the device lets not even its group " + Group + " read and write it";
    std::string User;
    if (InGroupOnNextLogin(Info.st_gid, User))
        return "no permission. The device belongs to the group " + Group
            + ", which you joined after logging in: log out and in again";
    return "no permission. The device belongs to the group " + Group
        + ": join it (sudo usermod -aG " + Group + " " + User + "), then log out and in again";
}

// The lock file a serial program holds for Device (UUCP style, LCK..ttyUSB0, as QSerialPort
// and most terminal programs make it): the holder's process id, and its name where the file
// gives one, when that process is alive. The id is the first line, padded or not.
bool HeldLock(const std::string &Device, qint64 &Pid, QString &Program)
{
    QString Name = QString::fromStdString(Device);
    if (Name.startsWith(QLatin1String("/dev/")))
        Name.remove(0, 5);
    Name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString &Folder : { QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
             QStringLiteral("/var/spool/locks"), QDir::tempPath() }) {
        QFile Lock(Folder + QStringLiteral("/LCK..") + Name);
        if (!Lock.open(QIODevice::ReadOnly))
            continue;
        bool Ok = false;
        Pid = Lock.readLine(64).trimmed().toLongLong(&Ok);
        Program = QString::fromUtf8(Lock.readLine(256).trimmed());
        if (Ok && Pid > 0 && (::kill(static_cast<pid_t>(Pid), 0) == 0 || errno == EPERM))
            return true;
    }
    return false;
}

std::string BusyCause(qint64 Pid, const QString &Program)
{
    std::string Cause = "busy, in use by another program";
    if (Pid > 0) {
        Cause += " (process " + std::to_string(Pid);
        if (!Program.isEmpty())
            Cause += ", " + Program.toStdString();
        Cause += ")";
    }
    return Cause;
}

std::string Cause(const std::string &Name, const std::string &Device)
{
    const std::string NotPresent = "not present";
    const unsigned Number = ComPortNumber(Name);
    if (Number != 0) {
        const TPortLink Link = InspectPortLink(Number);
        if (Link.Kind == TPortLink::Link && !Link.TargetExists)
            return NotPresent + ", the link leads to " + Link.Target
                + ", which is gone (adapter unplugged?)";
    }
    struct stat Info
    {
    };
    if (::stat(Device.c_str(), &Info) != 0) {
        const int Code = errno;
        if (Code == ENOENT || Code == ENOTDIR)
            return NotPresent + ": no device " + Device + " (adapter unplugged?)";
        return Code == EACCES ? PermissionCause(Device) : SystemText(Code);
    }
    qint64 Pid = 0;
    QString Program;
    if (HeldLock(Device, Pid, Program))
        return BusyCause(Pid, Program);
    // The same open the port makes, without waiting for a carrier. The system's own answer
    // tells no permission from a device held exclusively (EBUSY), whatever the toolkit says.
    const int Fd = ::open(Device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        const int Code = errno;
        if (Code == EACCES || Code == EPERM)
            return PermissionCause(Device);
        if (Code == EBUSY)
            return BusyCause(0, QString());
        if (Code == ENXIO || Code == ENODEV || Code == ENOENT)
            return NotPresent + " (adapter unplugged?)";
        return SystemText(Code);
    }
    const bool Terminal = ::isatty(Fd) != 0;
    ::close(Fd);
    if (!Terminal)
        return Device + " is not a serial port";
    // The device opens for us, so whatever failed lies in the serial layer: a permission
    // error there is its lock, which the system's open does not see.
    QSerialPort Port;
    Port.setPortName(QString::fromStdString(Device));
    if (Port.open(QIODevice::ReadWrite)) {
        Port.close();
        return "it opens now; press the button again";
    }
    if (Port.error() == QSerialPort::PermissionError)
        return BusyCause(0, QString());
    return Port.errorString().toStdString();
}

} // namespace

std::string PortOpenFailureText(const std::string &Name)
{
    const std::string Device = ResolveSerialDevice(Name);
    return "Port " + Name + " (" + Device + ") could not be opened: " + Cause(Name, Device);
}
