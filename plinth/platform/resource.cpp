#include "plinth/platform/resource.h"

#include "plinth/platform/memory.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <exception>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <link.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace plinth {

namespace {

template <class T>
using Vec = std::vector<T, AfxAllocator<T>>;
using Str = std::basic_string<char, std::char_traits<char>, AfxAllocator<char>>;

// ---- Identifiers

// A type or a name: an integer when `text` is empty, else an upper-case text.
struct ResId {
    WORD number = 0;
    Str text;

    bool operator==(const ResId& other) const {
        return number == other.number && text == other.text;
    }
    // Texts first, in byte order, then integers.
    bool operator<(const ResId& other) const {
        if (text.empty() != other.text.empty()) {
            return !text.empty();
        }
        return text.empty() ? number < other.number : text < other.text;
    }
    // The form the walks hand to their callbacks; valid while this identifier lives.
    LPSTR Pass() {
        return text.empty() ? const_cast<LPSTR>(MAKEINTRESOURCEA(number)) : text.data();
    }
};

bool ParseId(LPCSTR id, ResId& out) {
    out = ResId{};
    if (IS_INTRESOURCE(id)) {
        out.number = static_cast<WORD>(reinterpret_cast<UINT_PTR>(id));
        return id != nullptr;
    }
    if (*id == '#') {
        const std::size_t digits = std::strlen(id + 1);
        if (digits == 0 || digits > 5 || std::strspn(id + 1, "0123456789") != digits) {
            return false;
        }
        const unsigned long value = std::strtoul(id + 1, nullptr, 10);
        out.number = static_cast<WORD>(value);
        return value <= 0xFFFF;
    }
    for (const char* c = id; *c != '\0'; ++c) {
        out.text += (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 'a' + 'A') : *c;
    }
    return !out.text.empty();
}

// ---- The section and its table
//
// All numbers are unsigned 32-bit little-endian. The section holds a header, an entry per
// resource, the texts of the text identifiers, then the resources' bytes:
//   header  magic "PLRS", format 1, entry count N, table size T (header, entries and texts)
//   entry   type, name, language, offset of the bytes from the section start, size
// An identifier with the top bit set is the offset of a zero-terminated text within the
// table; otherwise it is an integer identifier.

constexpr char kSectionName[] = ".plinth.resources";
constexpr BYTE kMagic[4] = {'P', 'L', 'R', 'S'};
constexpr DWORD kFormat = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kEntrySize = 20;
constexpr DWORD kTextFlag = 0x80000000u;

DWORD GetU32(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
           static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
}

void PutU32(Vec<BYTE>& out, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<BYTE>(value >> shift));
    }
}

struct Entry {
    ResId type;
    ResId name;
    WORD language = 0;
    DWORD offset = 0; // within the section
    DWORD size = 0;
    const BYTE* data = nullptr; // set when the resource is loaded; stays null when empty

    auto Key() const { return std::tie(type, name, language); }
};

struct ResourceTable {
    Vec<Entry> entries; // ordered by type, name and language
    GElf_Off sectionOffset = 0;
    GElf_Xword sectionSize = 0;
};

bool DecodeId(const BYTE* table, std::size_t textsBegin, std::size_t tableSize, DWORD raw,
              ResId& out) {
    out = ResId{};
    if ((raw & kTextFlag) == 0) {
        out.number = static_cast<WORD>(raw);
        return raw <= 0xFFFF;
    }
    const std::size_t at = raw & ~kTextFlag;
    if (at < textsBegin || at >= tableSize) {
        return false;
    }
    const void* end = std::memchr(table + at, 0, tableSize - at);
    if (end == nullptr || end == table + at) {
        return false;
    }
    out.text.assign(reinterpret_cast<const char*>(table + at),
                    static_cast<const BYTE*>(end) - (table + at));
    return true;
}

// Parses a table of `tableSize` bytes that heads a section of `sectionSize` bytes.
bool DecodeTable(const BYTE* table, std::size_t tableSize, GElf_Xword sectionSize,
                 Vec<Entry>& entries) {
    const std::uint64_t count = GetU32(table + 8);
    const std::size_t textsBegin = kHeaderSize + count * kEntrySize;
    if (textsBegin > tableSize) {
        return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const BYTE* raw = table + kHeaderSize + i * kEntrySize;
        Entry entry;
        const DWORD language = GetU32(raw + 8);
        entry.language = static_cast<WORD>(language);
        entry.offset = GetU32(raw + 12);
        entry.size = GetU32(raw + 16);
        if (!DecodeId(table, textsBegin, tableSize, GetU32(raw), entry.type) ||
            !DecodeId(table, textsBegin, tableSize, GetU32(raw + 4), entry.name) ||
            language > 0xFFFF || entry.offset < tableSize ||
            std::uint64_t{entry.offset} + entry.size > sectionSize) {
            return false;
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.Key() < b.Key(); });
    return true;
}

// A resource waiting to be written.
struct Pending {
    ResId type;
    ResId name;
    WORD language = 0;
    Vec<BYTE> bytes;

    auto Key() const { return std::tie(type, name, language); }
};

DWORD EncodeId(const ResId& id, Vec<BYTE>& texts, std::size_t textsBegin) {
    if (id.text.empty()) {
        return id.number;
    }
    const auto at = static_cast<DWORD>(textsBegin + texts.size());
    texts.insert(texts.end(), id.text.begin(), id.text.end());
    texts.push_back(0);
    return at | kTextFlag;
}

// The section's bytes for these resources (already in table order). False when they do not
// fit the format's 32-bit offsets.
bool EncodeSection(const Vec<Pending>& resources, Vec<BYTE>& out) {
    const std::uint64_t textsBegin = kHeaderSize + std::uint64_t{resources.size()} * kEntrySize;
    Vec<BYTE> texts;
    Vec<DWORD> ids;
    std::uint64_t total = 0;
    for (const Pending& r : resources) {
        ids.push_back(EncodeId(r.type, texts, textsBegin));
        ids.push_back(EncodeId(r.name, texts, textsBegin));
        total += r.bytes.size();
    }
    const std::uint64_t tableSize = textsBegin + texts.size();
    if (tableSize + total > 0xFFFFFFFFu) {
        return false;
    }
    out.assign(kMagic, kMagic + 4);
    PutU32(out, kFormat);
    PutU32(out, static_cast<DWORD>(resources.size()));
    PutU32(out, static_cast<DWORD>(tableSize));
    auto offset = static_cast<DWORD>(tableSize);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const auto size = static_cast<DWORD>(resources[i].bytes.size());
        PutU32(out, ids[2 * i]);
        PutU32(out, ids[2 * i + 1]);
        PutU32(out, resources[i].language);
        PutU32(out, offset);
        PutU32(out, size);
        offset += size;
    }
    out.insert(out.end(), texts.begin(), texts.end());
    for (const Pending& r : resources) {
        out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    }
    return true;
}

// ---- Module files, read and written through libelf

bool LibElfReady() {
    static const bool ready = ::elf_version(EV_CURRENT) != EV_NONE;
    return ready;
}

// An open module file: an ELF executable or shared object with a section table.
class ModuleFile {
public:
    ModuleFile(int fd, Elf_Cmd command)
        : m_elf(LibElfReady() ? ::elf_begin(fd, command, nullptr) : nullptr) {
        GElf_Ehdr header{};
        std::size_t sections = 0;
        m_module = m_elf != nullptr && ::elf_kind(m_elf) == ELF_K_ELF &&
                   ::gelf_getehdr(m_elf, &header) != nullptr &&
                   (header.e_type == ET_EXEC || header.e_type == ET_DYN) &&
                   ::elf_getshdrnum(m_elf, &sections) == 0 && sections > 0 &&
                   ::elf_getshdrstrndx(m_elf, &m_namesIndex) == 0;
    }
    ~ModuleFile() { ::elf_end(m_elf); }
    ModuleFile(const ModuleFile&) = delete;
    ModuleFile& operator=(const ModuleFile&) = delete;

    bool IsModule() const { return m_module; }
    Elf* Handle() const { return m_elf; }
    std::size_t NamesIndex() const { return m_namesIndex; }

    // The resource section, or null.
    Elf_Scn* FindSection(GElf_Shdr& header) const {
        for (Elf_Scn* scn = ::elf_nextscn(m_elf, nullptr); scn != nullptr;
             scn = ::elf_nextscn(m_elf, scn)) {
            const char* name = ::gelf_getshdr(scn, &header) != nullptr
                                   ? ::elf_strptr(m_elf, m_namesIndex, header.sh_name)
                                   : nullptr;
            if (name != nullptr && std::strcmp(name, kSectionName) == 0) {
                return scn;
            }
        }
        return nullptr;
    }

    // `size` bytes of the file from `offset`; null when the file does not hold them. The
    // bytes live as long as this object.
    const BYTE* Chunk(GElf_Off offset, std::size_t size) const {
        Elf_Data* data =
            ::elf_getdata_rawchunk(m_elf, static_cast<int64_t>(offset), size, ELF_T_BYTE);
        return data != nullptr && data->d_size == size ? static_cast<const BYTE*>(data->d_buf)
                                                       : nullptr;
    }

    // Reads the resource table (none when there is no section). False when the section is
    // not a plain stored one or its table does not hold together; the table is then empty.
    bool ReadTable(ResourceTable& table) const {
        table = ResourceTable{};
        GElf_Shdr header{};
        if (FindSection(header) == nullptr) {
            return true;
        }
        const BYTE* head = nullptr;
        if (header.sh_type != SHT_PROGBITS || (header.sh_flags & SHF_ALLOC) != 0 ||
            header.sh_size < kHeaderSize ||
            (head = Chunk(header.sh_offset, kHeaderSize)) == nullptr ||
            std::memcmp(head, kMagic, 4) != 0 || GetU32(head + 4) != kFormat) {
            return false;
        }
        const DWORD tableSize = GetU32(head + 12);
        const BYTE* whole = tableSize >= kHeaderSize && tableSize <= header.sh_size
                                ? Chunk(header.sh_offset, tableSize)
                                : nullptr;
        if (whole == nullptr || !DecodeTable(whole, tableSize, header.sh_size, table.entries)) {
            table.entries.clear();
            return false;
        }
        table.sectionOffset = header.sh_offset;
        table.sectionSize = header.sh_size;
        return true;
    }

private:
    Elf* m_elf;
    std::size_t m_namesIndex = 0;
    bool m_module = false;
};

// A descriptor closed on every path.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept
        : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int Get() const noexcept { return m_fd; }
    void Reset() noexcept {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = -1;
    }

private:
    int m_fd;
};

Descriptor OpenForReading(const char* path) {
    return Descriptor(::open(path, O_RDONLY | O_CLOEXEC));
}

// ---- Loaded modules

struct LoadedModule {
    HMODULE base = nullptr;
    Str path;
};

// The modules the loader has loaded, the executable first.
Vec<LoadedModule> LoadedModules() {
    struct Walk {
        Vec<LoadedModule> modules;
        std::exception_ptr failure;
    } walk;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* context) -> int {
            auto& w = *static_cast<Walk*>(context);
            try {
                for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
                    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
                    if (ph.p_type == PT_LOAD) {
                        // Where the loader maps the first segment: the page that holds it.
                        const auto page = static_cast<UINT_PTR>(::sysconf(_SC_PAGESIZE));
                        const UINT_PTR base = info->dlpi_addr + (ph.p_vaddr & ~(page - 1));
                        w.modules.push_back(
                            {reinterpret_cast<HMODULE>(base),
                             Str(info->dlpi_name != nullptr ? info->dlpi_name : "")});
                        break;
                    }
                }
                return 0;
            } catch (...) {
                w.failure = std::current_exception();
                return 1;
            }
        },
        &walk);
    if (walk.failure) {
        std::rethrow_exception(walk.failure);
    }
    if (!walk.modules.empty() && walk.modules.front().path.empty()) {
        char exe[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe);
        walk.modules.front().path.assign(exe, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return walk.modules;
}

// The path with links resolved, or empty when it names no file.
Str Resolved(const char* path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path, nullptr), &std::free);
    return real ? Str(real.get()) : Str();
}

const char* LastComponent(const Str& path) {
    const std::size_t slash = path.rfind('/');
    return path.c_str() + (slash == Str::npos ? 0 : slash + 1);
}

// ---- The record of modules whose resources have been looked at

// What the process knows of one module's resources. It owns the mapping of the resource
// section, so resource bytes stay valid as long as the record lives.
struct ModuleRecord {
    Str path;
    Descriptor file; // the file as it was when the table was read
    ResourceTable table;
    void* mapping = nullptr;
    std::size_t mappingLength = 0;
    void* library = nullptr; // the loader's handle of loads made by LoadLibraryExA
    int loads = 0;

    ModuleRecord() = default;
    ModuleRecord(const ModuleRecord&) = delete;
    ModuleRecord& operator=(const ModuleRecord&) = delete;
    ~ModuleRecord() {
        if (mapping != nullptr) {
            ::munmap(mapping, mappingLength);
        }
    }

    // Opens the file and reads its table; false when it is not a module.
    bool Read(const char* modulePath) {
        path = modulePath;
        file = OpenForReading(modulePath);
        if (file.Get() < 0) {
            return false;
        }
        const ModuleFile elf(file.Get(), ELF_C_READ);
        if (!elf.IsModule()) {
            return false;
        }
        static_cast<void>(elf.ReadTable(table)); // a broken table reads as no resources
        return true;
    }

    bool Owns(HRSRC resource) const {
        const auto* entry = reinterpret_cast<const Entry*>(resource);
        const std::less<const Entry*> before;
        return !table.entries.empty() && !before(entry, table.entries.data()) &&
               before(entry, table.entries.data() + table.entries.size());
    }

    // Maps the section the first time a resource is loaded. False when the file has become
    // shorter than the section or cannot be mapped.
    bool Map() {
        if (mapping != nullptr) {
            return true;
        }
        struct stat st {};
        if (::fstat(file.Get(), &st) != 0 ||
            static_cast<std::uint64_t>(st.st_size) < table.sectionOffset + table.sectionSize) {
            SetLastError(ERROR_RESOURCE_NOT_FOUND);
            return false;
        }
        const auto page = static_cast<GElf_Off>(::sysconf(_SC_PAGESIZE));
        const GElf_Off start = table.sectionOffset & ~(page - 1);
        const std::size_t length = table.sectionOffset - start + table.sectionSize;
        void* p =
            ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.Get(), static_cast<off_t>(start));
        if (p == MAP_FAILED) {
            return false;
        }
        mapping = p;
        mappingLength = length;
        const BYTE* section = static_cast<const BYTE*>(p) + (table.sectionOffset - start);
        for (Entry& entry : table.entries) {
            entry.data = entry.size == 0 ? nullptr : section + entry.offset;
        }
        return true;
    }
};

// Data-file handles are record addresses with the low bit set, so they never look like the
// base of a loaded image.
constexpr UINT_PTR kDataFileTag = 1;

class Registry {
public:
    std::mutex lock;

    // The record of a handle, made when a loaded module is first looked at; null when the
    // handle names no module (last error set).
    ModuleRecord* Find(HMODULE module) {
        if ((reinterpret_cast<UINT_PTR>(module) & kDataFileTag) != 0) {
            const auto it = m_records.find(module);
            return it == m_records.end() ? Invalid() : it->second.get();
        }
        const Vec<LoadedModule> loaded = LoadedModules();
        if (module == nullptr && !loaded.empty()) {
            module = loaded.front().base;
        }
        const auto match = std::find_if(loaded.begin(), loaded.end(),
                                        [&](const LoadedModule& m) { return m.base == module; });
        const auto it = m_records.find(module);
        if (match == loaded.end()) {
            if (it != m_records.end() && it->second->loads == 0) {
                m_records.erase(it); // unloaded behind our back
            }
            return Invalid();
        }
        if (it != m_records.end() && it->second->path == match->path) {
            return it->second.get();
        }
        auto record = MakeRecord();
        if (it != m_records.end()) {
            record->library = it->second->library;
            record->loads = it->second->loads;
        }
        static_cast<void>(record->Read(match->path.c_str())); // no file: no resources
        ModuleRecord* result = record.get();
        m_records[module] = std::move(record);
        return result;
    }

    // The record a load through LoadLibraryExA adds to, made when missing.
    ModuleRecord& Loaded(HMODULE module) {
        auto& slot = m_records[module];
        if (!slot) {
            slot = MakeRecord();
        }
        return *slot;
    }

    HMODULE AddDataFile(std::unique_ptr<ModuleRecord> record) {
        const auto handle =
            reinterpret_cast<HMODULE>(reinterpret_cast<UINT_PTR>(record.get()) | kDataFileTag);
        m_records[handle] = std::move(record);
        return handle;
    }

    // The record of a handle given out by LoadLibraryExA, or null.
    ModuleRecord* OfLoad(HMODULE module) {
        const auto it = m_records.find(module);
        return it == m_records.end() || it->second->loads == 0 ? nullptr : it->second.get();
    }

    void Erase(HMODULE module) { m_records.erase(module); }

    static std::unique_ptr<ModuleRecord> MakeRecord() {
        return std::unique_ptr<ModuleRecord>(AfxNew<ModuleRecord>());
    }

private:
    static ModuleRecord* Invalid() {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }

    using Records = std::map<HMODULE, std::unique_ptr<ModuleRecord>, std::less<>,
                             AfxAllocator<std::pair<const HMODULE, std::unique_ptr<ModuleRecord>>>>;
    Records m_records;
};

Registry& Modules() {
    static Registry registry;
    return registry;
}

// Calls `f(record)` under the registry's lock for the record of `module`; `failure` when
// there is none.
template <class F, class R>
R WithRecord(HMODULE module, R failure, F f) {
    Registry& registry = Modules();
    std::lock_guard<std::mutex> guard(registry.lock);
    ModuleRecord* record = registry.Find(module);
    return record != nullptr ? f(*record) : failure;
}

// The rank of a language when none is asked for: neutral, then 1033, then any other.
int LanguageRank(WORD language) {
    return language == LANG_NEUTRAL ? 0 : language == 1033 ? 1 : 2;
}

const Entry* FindEntry(const ResourceTable& table, const ResId& type, const ResId& name,
                       const WORD* language) {
    const Entry* best = nullptr; // entries are ordered, so the first of a rank is the lowest
    for (const Entry& e : table.entries) {
        if (e.type == type && e.name == name &&
            (language != nullptr
                 ? e.language == *language
                 : best == nullptr || LanguageRank(e.language) < LanguageRank(best->language))) {
            best = &e;
        }
    }
    if (best == nullptr) {
        SetLastError(ERROR_RESOURCE_NOT_FOUND);
    }
    return best;
}

HRSRC Find(HMODULE module, LPCSTR type, LPCSTR name, const WORD* language) {
    ResId t;
    ResId n;
    if (!ParseId(type, t) || !ParseId(name, n)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return WithRecord(module, HRSRC{nullptr}, [&](ModuleRecord& record) {
        return reinterpret_cast<HRSRC>(const_cast<Entry*>(FindEntry(record.table, t, n, language)));
    });
}

// The distinct identifiers `pick` gives for the entries that `keep` accepts, in table order.
template <class Keep, class Pick>
bool Distinct(HMODULE module, Vec<ResId>& out, Keep keep, Pick pick) {
    return WithRecord(module, false, [&](ModuleRecord& record) {
        for (const Entry& e : record.table.entries) {
            if (keep(e) && (out.empty() || !(out.back() == pick(e)))) {
                out.push_back(pick(e));
            }
        }
        return true;
    });
}

// ---- Writing a module file

struct UpdateHandle {
    Str path;
    Vec<Pending> resources; // in table order
};

// Copies the whole of `from` into `to`.
bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n <= 0) {
            return n == 0;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                return false;
            }
            done += w;
        }
    }
}

GElf_Off AlignUp(GElf_Off value, GElf_Off alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Puts the section into the module open in `elf` (a copy being rewritten): other sections
// keep their places; the section (and the section-name table when the name has to be added)
// go after everything else, followed by the section headers. Returns the new file size, or
// -1.
off_t PlaceSection(const ModuleFile& elf, Vec<BYTE>& section, Vec<char>& names) {
    Elf* e = elf.Handle();
    GElf_Ehdr header{};
    if (::gelf_getehdr(e, &header) == nullptr) {
        return -1;
    }
    ::elf_flagelf(e, ELF_C_SET, ELF_F_LAYOUT | ELF_F_DIRTY);
    GElf_Shdr resHeader{};
    Elf_Scn* res = elf.FindSection(resHeader);
    Elf_Scn* nameScn = ::elf_getscn(e, elf.NamesIndex());
    GElf_Shdr nameHeader{};
    if (nameScn == nullptr || ::gelf_getshdr(nameScn, &nameHeader) == nullptr ||
        (res != nullptr && (resHeader.sh_flags & SHF_ALLOC) != 0)) {
        return -1;
    }
    const bool addName = res == nullptr;
    if (addName && (nameHeader.sh_flags & SHF_ALLOC) != 0) {
        return -1;
    }

    // The end of everything that stays where it is.
    GElf_Off end = std::max<GElf_Off>(header.e_ehsize, header.e_phoff + GElf_Off{header.e_phnum} *
                                                                            header.e_phentsize);
    for (std::size_t i = 0; i < header.e_phnum; ++i) {
        GElf_Phdr ph{};
        if (::gelf_getphdr(e, static_cast<int>(i), &ph) != nullptr) {
            end = std::max(end, ph.p_offset + ph.p_filesz);
        }
    }
    for (Elf_Scn* scn = ::elf_nextscn(e, nullptr); scn != nullptr; scn = ::elf_nextscn(e, scn)) {
        GElf_Shdr sh{};
        if (::gelf_getshdr(scn, &sh) == nullptr) {
            return -1;
        }
        ::elf_flagshdr(scn, ELF_C_SET, ELF_F_DIRTY);
        if (scn != res && !(addName && scn == nameScn) && sh.sh_type != SHT_NOBITS) {
            end = std::max(end, sh.sh_offset + sh.sh_size);
        }
    }

    if (addName) {
        Elf_Data* data = ::elf_getdata(nameScn, nullptr);
        if (data == nullptr || ::elf_getdata(nameScn, data) != nullptr) {
            return -1;
        }
        const auto* old = static_cast<const char*>(data->d_buf);
        names.assign(old, old + data->d_size);
        resHeader = GElf_Shdr{};
        resHeader.sh_name = static_cast<GElf_Word>(names.size());
        names.insert(names.end(), kSectionName, kSectionName + sizeof kSectionName);
        data->d_buf = names.data();
        data->d_size = names.size();
        ::elf_flagdata(data, ELF_C_SET, ELF_F_DIRTY);
        nameHeader.sh_offset = end;
        nameHeader.sh_size = names.size();
        end += names.size();
        if (::gelf_update_shdr(nameScn, &nameHeader) == 0 || (res = ::elf_newscn(e)) == nullptr) {
            return -1;
        }
        resHeader.sh_type = SHT_PROGBITS;
        resHeader.sh_addralign = 8;
    }
    Elf_Data* data = ::elf_getdata(res, nullptr);
    if (data == nullptr && (data = ::elf_newdata(res)) == nullptr) {
        return -1;
    }
    data->d_buf = section.data();
    data->d_size = section.size();
    data->d_type = ELF_T_BYTE;
    data->d_off = 0;
    data->d_align = 1;
    data->d_version = EV_CURRENT;
    ::elf_flagdata(data, ELF_C_SET, ELF_F_DIRTY);
    resHeader.sh_offset = AlignUp(end, 8);
    resHeader.sh_size = section.size();
    end = resHeader.sh_offset + section.size();
    header.e_shoff = AlignUp(end, 8);
    if (::gelf_update_shdr(res, &resHeader) == 0 || ::gelf_update_ehdr(e, &header) == 0) {
        return -1;
    }
    return static_cast<off_t>(::elf_update(e, ELF_C_WRITE));
}

// Writes the section into the copy of a module open in `fd`.
bool Rewrite(int fd, Vec<BYTE>& section) {
    const ModuleFile elf(fd, ELF_C_RDWR);
    Vec<char> names;
    if (!elf.IsModule()) {
        errno = ENOEXEC;
        return false;
    }
    const off_t size = PlaceSection(elf, section, names);
    if (size <= 0) {
        errno = EBADMSG; // a layout that the section cannot be added to
        return false;
    }
    return ::ftruncate(fd, size) == 0;
}

// Rewrites the module file with these resources: a complete new file beside it, renamed over
// it only when all went well.
bool WriteModule(const Str& path, const Vec<Pending>& resources) {
    Vec<BYTE> section;
    if (!EncodeSection(resources, section)) {
        SetLastError(EFBIG);
        return false;
    }
    const Str target = Resolved(path.c_str());
    const Descriptor original = target.empty() ? Descriptor() : OpenForReading(target.c_str());
    struct stat st {};
    if (original.Get() < 0 || ::fstat(original.Get(), &st) != 0) {
        return false;
    }
    Str temp = target + ".XXXXXX";
    const Descriptor copy(::mkstemp(temp.data()));
    if (copy.Get() < 0) {
        return false;
    }
    // Ownership is kept where the process may give it away; the mode always.
    static_cast<void>(::fchown(copy.Get(), st.st_uid, st.st_gid));
    const bool written = CopyContents(original.Get(), copy.Get()) && Rewrite(copy.Get(), section) &&
                         ::fchmod(copy.Get(), st.st_mode & 07777) == 0 &&
                         ::fsync(copy.Get()) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written) {
        const int reason = errno;
        ::unlink(temp.c_str());
        SetLastError(static_cast<DWORD>(reason));
    }
    return written;
}

} // namespace

// ---- Loaded modules

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    const Vec<LoadedModule> loaded = LoadedModules();
    if (moduleName == nullptr) {
        return loaded.empty() ? nullptr : loaded.front().base;
    }
    const bool asPath = std::strchr(moduleName, '/') != nullptr;
    const Str wanted = asPath ? Resolved(moduleName) : Str(moduleName);
    for (const LoadedModule& m : loaded) {
        if (!wanted.empty() && (asPath ? Resolved(m.path.c_str()) == wanted
                                       : std::strcmp(LastComponent(m.path), wanted.c_str()) == 0)) {
            return m.base;
        }
    }
    SetLastError(ENOENT);
    return nullptr;
}

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags) {
    if (fileName == nullptr || file != nullptr ||
        (flags != 0 && flags != LOAD_WITH_ALTERED_SEARCH_PATH &&
         flags != LOAD_LIBRARY_AS_DATAFILE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Registry& registry = Modules();
    if (flags == LOAD_LIBRARY_AS_DATAFILE) {
        auto record = Registry::MakeRecord();
        if (!record->Read(fileName)) {
            if (record->file.Get() >= 0) {
                SetLastError(ENOEXEC);
            }
            return nullptr;
        }
        record->loads = 1;
        std::lock_guard<std::mutex> guard(registry.lock);
        return registry.AddDataFile(std::move(record));
    }
    void* library = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    link_map* map = nullptr;
    Dl_info info{};
    if (library == nullptr || ::dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 ||
        ::dladdr(map->l_ld, &info) == 0) {
        struct stat st {};
        SetLastError(::stat(fileName, &st) != 0 ? static_cast<DWORD>(errno) : ENOEXEC);
        if (library != nullptr) {
            ::dlclose(library);
        }
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(registry.lock);
    ModuleRecord& record = registry.Loaded(info.dli_fbase);
    record.library = library;
    ++record.loads;
    return info.dli_fbase;
}

BOOL FreeLibrary(HMODULE module) {
    Registry& registry = Modules();
    std::lock_guard<std::mutex> guard(registry.lock);
    ModuleRecord* record = registry.OfLoad(module);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (record->library != nullptr) {
        ::dlclose(record->library);
    }
    if (--record->loads == 0) {
        record->library = nullptr;
        // A module that someone else keeps loaded keeps its record, and its bytes.
        const Vec<LoadedModule> loaded = LoadedModules();
        if (std::none_of(loaded.begin(), loaded.end(),
                         [&](const LoadedModule& m) { return m.base == module; })) {
            registry.Erase(module);
        }
    }
    return 1;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    const Vec<LoadedModule> loaded = LoadedModules();
    const auto match = std::find_if(loaded.begin(), loaded.end(), [&](const LoadedModule& m) {
        return module == nullptr ? &m == &loaded.front() : m.base == module;
    });
    if (match == loaded.end() || fileName == nullptr || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length = match->path.size();
    const std::size_t kept = std::min<std::size_t>(length, size - 1);
    std::memcpy(fileName, match->path.c_str(), kept);
    fileName[kept] = '\0';
    if (kept < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return static_cast<DWORD>(length);
}

// ---- Reading resources

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    return Find(module, type, name, nullptr);
}

HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    return Find(module, type, name, &language);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    return WithRecord(module, HGLOBAL{nullptr}, [&](ModuleRecord& record) {
        if (!record.Owns(resource)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return HGLOBAL{nullptr};
        }
        return record.Map() ? reinterpret_cast<HGLOBAL>(resource) : HGLOBAL{nullptr};
    });
}

LPVOID LockResource(HGLOBAL resource) {
    return resource == nullptr ? nullptr
                               : const_cast<BYTE*>(reinterpret_cast<const Entry*>(resource)->data);
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    return WithRecord(module, DWORD{0}, [&](ModuleRecord& record) {
        return record.Owns(resource) ? reinterpret_cast<const Entry*>(resource)->size : DWORD{0};
    });
}

BOOL EnumResourceTypesA(HMODULE module, ENUMRESTYPEPROCA proc, LONG_PTR param) {
    Vec<ResId> types;
    if (proc == nullptr || !Distinct(
                               module, types, [](const Entry&) { return true; },
                               [](const Entry& e) { return e.type; })) {
        return 0;
    }
    for (ResId& type : types) {
        if (proc(module, type.Pass(), param) == 0) {
            return 0;
        }
    }
    return types.empty() ? 0 : 1;
}

BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc, LONG_PTR param) {
    ResId t;
    Vec<ResId> names;
    if (proc == nullptr || !ParseId(type, t) ||
        !Distinct(
            module, names, [&](const Entry& e) { return e.type == t; },
            [](const Entry& e) { return e.name; })) {
        return 0;
    }
    for (ResId& name : names) {
        if (proc(module, type, name.Pass(), param) == 0) {
            return 0;
        }
    }
    return names.empty() ? 0 : 1;
}

BOOL EnumResourceLanguagesA(HMODULE module, LPCSTR type, LPCSTR name, ENUMRESLANGPROCA proc,
                            LONG_PTR param) {
    ResId t;
    ResId n;
    Vec<ResId> languages; // as integer identifiers
    if (proc == nullptr || !ParseId(type, t) || !ParseId(name, n) ||
        !Distinct(
            module, languages, [&](const Entry& e) { return e.type == t && e.name == n; },
            [](const Entry& e) {
                return ResId{e.language, Str()};
            })) {
        return 0;
    }
    for (const ResId& language : languages) {
        if (proc(module, type, name, language.number, param) == 0) {
            return 0;
        }
    }
    return languages.empty() ? 0 : 1;
}

// ---- Updating resources

HANDLE BeginUpdateResourceA(LPCSTR fileName, BOOL deleteExisting) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const Descriptor fd = OpenForReading(fileName);
    if (fd.Get() < 0) {
        return nullptr;
    }
    const ModuleFile elf(fd.Get(), ELF_C_READ);
    ResourceTable table;
    if (!elf.IsModule()) {
        SetLastError(ENOEXEC);
        return nullptr;
    }
    if (!elf.ReadTable(table) && !deleteExisting) {
        SetLastError(EBADMSG);
        return nullptr;
    }
    std::unique_ptr<UpdateHandle> update(AfxNew<UpdateHandle>());
    update->path = fileName;
    const BYTE* section = deleteExisting || table.entries.empty()
                              ? nullptr
                              : elf.Chunk(table.sectionOffset, table.sectionSize);
    if (section != nullptr) {
        for (const Entry& e : table.entries) {
            update->resources.push_back(
                {e.type, e.name, e.language,
                 Vec<BYTE>(section + e.offset, section + e.offset + e.size)});
        }
    }
    return update.release();
}

BOOL UpdateResourceA(HANDLE update, LPCSTR type, LPCSTR name, WORD language, LPVOID data,
                     DWORD size) {
    Pending resource;
    resource.language = language;
    if (update == nullptr || !ParseId(type, resource.type) || !ParseId(name, resource.name) ||
        (data == nullptr && size != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& resources = static_cast<UpdateHandle*>(update)->resources;
    const auto at =
        std::lower_bound(resources.begin(), resources.end(), resource,
                         [](const Pending& a, const Pending& b) { return a.Key() < b.Key(); });
    const bool present = at != resources.end() && at->Key() == resource.Key();
    if (data == nullptr) {
        if (present) {
            resources.erase(at);
        }
        return 1;
    }
    const auto* bytes = static_cast<const BYTE*>(data);
    resource.bytes.assign(bytes, bytes + size);
    if (present) {
        *at = std::move(resource);
    } else {
        resources.insert(at, std::move(resource));
    }
    return 1;
}

BOOL EndUpdateResourceA(HANDLE update, BOOL discard) {
    if (update == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::unique_ptr<UpdateHandle> owned(static_cast<UpdateHandle*>(update));
    return discard != 0 || WriteModule(owned->path, owned->resources) ? 1 : 0;
}

} // namespace plinth
