// plinth-rc: lists, adds, replaces, removes and extracts the resources of a module file.
#include "plinth/platform/lasterror.h"
#include "plinth/platform/resource.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace plinth;

namespace {

constexpr char kUsage[] = R"(usage: plinth-rc <command> <module> [arguments] [--language <n>]

Lists and changes the resources kept in a module file (an executable or shared object).

commands:
  list    <module>                          one line per resource: type, name, language, size
  add     <module> <type> <name> <file>     adds a resource that the module does not have
  replace <module> <type> <name> <file>     replaces a resource that the module has
  remove  <module> <type> <name>            removes a resource
  extract <module> <type> <name> [<file>]   writes a resource's bytes to a file (standard
                                            output when none is given, or for "-")
options:
  --language <n>  the language of the resource (0 to 65535; default 1033)
  -h, --help      shows this text

Types and names are texts, compared without regard to case, or integer identifiers
written #n (0 to 65535). A module is rewritten as a whole new file, so a failed change
leaves it as it was.
)";

// Exit statuses.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "plinth-rc: %s\n", message.c_str());
    return kFailed;
}

std::string Reason() {
    const int code = static_cast<int>(GetLastError());
    return code == ENOEXEC ? "not an executable or shared object" : std::strerror(code);
}

std::string Show(LPCSTR id) {
    return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(id))
                              : std::string(id);
}

bool ReadAll(const char* path, std::vector<BYTE>& bytes) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    BYTE buffer[1 << 16];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return n == 0;
}

bool WriteAll(int fd, const BYTE* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes a new file beside `path` and renames it over it.
bool WriteFile(const std::string& path, const BYTE* data, std::size_t size) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool written =
        WriteAll(fd, data, size) && ::fchmod(fd, 0666 & ~mask) == 0 && ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int reason = written ? errno : saved;
        ::unlink(temp.c_str());
        errno = reason;
        return false;
    }
    return true;
}

// A module file opened for its resources; closed on every path.
class Resources {
public:
    explicit Resources(const char* path)
        : m_module(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Resources() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

BOOL ListLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR) {
    const DWORD size = SizeofResource(module, FindResourceExA(module, type, name, language));
    std::printf("%s\t%s\t%u\t%u\n", Show(type).c_str(), Show(name).c_str(), language, size);
    return 1;
}

BOOL ListName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR) {
    EnumResourceLanguagesA(module, type, name, ListLanguage, 0);
    return 1;
}

BOOL ListType(HMODULE module, LPSTR type, LONG_PTR) {
    EnumResourceNamesA(module, type, ListName, 0);
    return 1;
}

struct Request {
    std::string command;
    std::vector<std::string> operands; // module first
    WORD language = 1033;
};

int List(const Request& r) {
    const Resources module(r.operands[0].c_str());
    if (module.Get() == nullptr) {
        return Fail(r.operands[0] + ": " + Reason());
    }
    EnumResourceTypesA(module.Get(), ListType, 0);
    return 0;
}

// Whether the module has the resource; false with a message when the module cannot be read.
bool Has(const Request& r, bool& has) {
    const Resources module(r.operands[0].c_str());
    if (module.Get() == nullptr) {
        Fail(r.operands[0] + ": " + Reason());
        return false;
    }
    has = FindResourceExA(module.Get(), r.operands[1].c_str(), r.operands[2].c_str(), r.language) !=
          nullptr;
    return true;
}

std::string Describe(const Request& r) {
    return r.operands[0] + ": resource " + r.operands[1] + " " + r.operands[2] + " (language " +
           std::to_string(r.language) + ")";
}

int Change(const Request& r) {
    const bool adding = r.command == "add";
    const bool removing = r.command == "remove";
    bool has = false;
    if (!Has(r, has)) {
        return kFailed;
    }
    if (has == adding) {
        return Fail(Describe(r) + (adding ? " exists already (use replace)" : " does not exist"));
    }
    std::vector<BYTE> bytes;
    if (!removing && !ReadAll(r.operands[3].c_str(), bytes)) {
        return Fail(r.operands[3] + ": " + std::strerror(errno));
    }
    BYTE none = 0; // an empty file gives an empty resource, not a removal
    HANDLE update = BeginUpdateResourceA(r.operands[0].c_str(), 0);
    if (update == nullptr) {
        return Fail(r.operands[0] + ": " +
                    (GetLastError() == EBADMSG ? std::string("its resource section is damaged")
                                               : Reason()));
    }
    if (UpdateResourceA(update, r.operands[1].c_str(), r.operands[2].c_str(), r.language,
                        removing        ? nullptr
                        : bytes.empty() ? &none
                                        : bytes.data(),
                        static_cast<DWORD>(bytes.size())) == 0) {
        EndUpdateResourceA(update, 1);
        return Fail(Describe(r) + ": " + Reason());
    }
    if (EndUpdateResourceA(update, 0) == 0) {
        return Fail(r.operands[0] + ": cannot be rewritten: " + Reason());
    }
    return 0;
}

int Extract(const Request& r) {
    const Resources module(r.operands[0].c_str());
    if (module.Get() == nullptr) {
        return Fail(r.operands[0] + ": " + Reason());
    }
    HRSRC found =
        FindResourceExA(module.Get(), r.operands[1].c_str(), r.operands[2].c_str(), r.language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module.Get(), found) : nullptr;
    if (loaded == nullptr) {
        return Fail(Describe(r) + (found == nullptr ? " does not exist" : " cannot be read"));
    }
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module.Get(), found);
    const bool toOutput = r.operands.size() < 4 || r.operands[3] == "-";
    if (toOutput ? !WriteAll(STDOUT_FILENO, data, size) : !WriteFile(r.operands[3], data, size)) {
        return Fail((toOutput ? std::string("standard output") : r.operands[3]) + ": " +
                    std::strerror(errno));
    }
    return 0;
}

// Reads the command line into `r`; false with a message for anything malformed.
bool Parse(int argc, char** argv, Request& r, bool& help) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            help = true;
            return true;
        }
        if (arg == "--language") {
            char* end = nullptr;
            const unsigned long value = i + 1 < argc ? std::strtoul(argv[i + 1], &end, 10) : 0;
            if (end == nullptr || end == argv[i + 1] || *end != '\0' || value > 0xFFFF) {
                std::fprintf(stderr, "plinth-rc: --language needs a number from 0 to 65535\n");
                return false;
            }
            r.language = static_cast<WORD>(value);
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "plinth-rc: unknown option %s\n", arg.c_str());
            return false;
        } else if (r.command.empty()) {
            r.command = arg;
        } else {
            r.operands.push_back(arg);
        }
    }
    struct Shape {
        const char* command;
        std::size_t least;
        std::size_t most;
    };
    static const Shape shapes[] = {
        {"list", 1, 1}, {"add", 4, 4}, {"replace", 4, 4}, {"remove", 3, 3}, {"extract", 3, 4}};
    for (const Shape& s : shapes) {
        if (r.command == s.command) {
            if (r.operands.size() < s.least || r.operands.size() > s.most) {
                std::fprintf(stderr, "plinth-rc: wrong number of arguments for %s (see --help)\n",
                             s.command);
                return false;
            }
            return true;
        }
    }
    if (r.command.empty()) {
        std::fprintf(stderr, "plinth-rc: no command given (see --help)\n");
    } else {
        std::fprintf(stderr, "plinth-rc: unknown command %s (see --help)\n", r.command.c_str());
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    Request r;
    bool help = false;
    if (!Parse(argc, argv, r, help)) {
        return kUsageError;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (r.command == "list") {
        return List(r);
    }
    return r.command == "extract" ? Extract(r) : Change(r);
}
