// A child program for the site-saving fault tests. It saves sites exactly as the program does,
// under conditions a test cannot put its own process in: another user, a file size limit (a disk
// that fills up), or being killed part way through a save.
//
//   sites_save_child [--as-nobody] [--fsize-limit BYTES] save TARGET SOURCE
//       Saves the sites and headers of the locations file SOURCE into TARGET once. Prints
//       "saved" or the error; exits 0 when saved, 1 when not.
//   sites_save_child loop TARGET SOURCE_A SOURCE_B
//       Saves A, B, A, B... into TARGET until killed; prints "ready" after the first save.
//   sites_save_child [--as-nobody] probe FILE
//       Exits 0 when the read-only FILE still opens for writing (permission bits do not bind
//       this user), 1 when it does not.
// Exit status 2: bad use or unreadable sources; 3: the user could not be changed.
//
// --as-nobody: when started as root, become the user "nobody" first, since root writes through
// any permission bits. Other users stay who they are.

#include "sites/locationsfile.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int Fail(int status, const QString& text) {
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    return status;
}

bool BecomeNobody(QString* error) {
    if (geteuid() != 0) return true;
    const passwd* pw = getpwnam("nobody");
    if (!pw) {
        *error = QStringLiteral("there is no user nobody");
        return false;
    }
    if (setgroups(0, nullptr) != 0 || setgid(pw->pw_gid) != 0 || setuid(pw->pw_uid) != 0) {
        *error =
            QStringLiteral("cannot become nobody: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return geteuid() != 0;
}

bool LimitFileSize(long long bytes, QString* error) {
    // Past the limit write() fails with EFBIG, as it fails with ENOSPC on a full disk, instead of
    // the process being stopped by SIGXFSZ.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        *error = QStringLiteral("cannot limit the file size: %1").arg(strerror(errno));
        return false;
    }
    return true;
}

bool Load(const QString& source, LocationsContent* content, QString* error) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = source + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return ParseLocations(file.readAll(), source, content, error);
}

int SaveOnce(const QString& target, const QString& source, long long limit) {
    LocationsContent content;
    QString error;
    if (!Load(source, &content, &error)) return Fail(2, error);
    if (limit >= 0 && !LimitFileSize(limit, &error)) return Fail(2, error);
    if (!WriteLocationsFile(target, content.sites, content.headers, &error)) return Fail(1, error);
    return Fail(0, QStringLiteral("saved"));
}

int SaveForever(const QString& target, const QString& sourceA, const QString& sourceB) {
    LocationsContent contents[2];
    QString error;
    if (!Load(sourceA, &contents[0], &error) || !Load(sourceB, &contents[1], &error))
        return Fail(2, error);
    for (unsigned long round = 0;; ++round) {
        const LocationsContent& content = contents[round % 2];
        if (!WriteLocationsFile(target, content.sites, content.headers, &error))
            return Fail(1, error);
        if (round == 0) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    bool asNobody = false;
    long long limit = -1;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (std::strcmp(argv[i], "--as-nobody") == 0) {
            asNobody = true;
        } else if (std::strcmp(argv[i], "--fsize-limit") == 0 && i + 1 < argc) {
            limit = std::atoll(argv[++i]);
        } else {
            return Fail(2, QStringLiteral("unknown option %1").arg(argv[i]));
        }
    }
    const QStringList args = [&] {
        QStringList list;
        for (int k = i; k < argc; ++k)
            list << QString::fromLocal8Bit(argv[k]);
        return list;
    }();

    QString error;
    if (asNobody && !BecomeNobody(&error)) return Fail(3, error);

    if (args.size() == 3 && args[0] == "save") return SaveOnce(args[1], args[2], limit);
    if (args.size() == 4 && args[0] == "loop") return SaveForever(args[1], args[2], args[3]);
    if (args.size() == 2 && args[0] == "probe") {
        const int fd = open(args[1].toLocal8Bit().constData(), O_WRONLY);
        if (fd >= 0) close(fd);
        return fd >= 0 ? 0 : 1;
    }
    return Fail(2, QStringLiteral("usage: sites_save_child [--as-nobody] [--fsize-limit BYTES] "
                                  "save TARGET SOURCE | loop TARGET A B | probe FILE"));
}
