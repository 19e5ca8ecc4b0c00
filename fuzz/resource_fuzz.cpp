// Resource sections: the input, after a first byte of options, is the content of a module's
// resource section. It is wrapped in a minimal ELF shared object in a temporary file, whose
// resources are then opened, walked, found and loaded.

#include "plinth/platform/resource.h"

#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace plinth;

namespace {

constexpr char kNames[] = "\0.shstrtab\0.plinth.resources";

// The file: header, section names, section headers (none, names, resources), resources.
// Options: bit 0 claims more section bytes than the file holds, bit 1 marks the section
// as allocated, bit 2 gives it another type.
std::vector<char> ModuleWith(const std::uint8_t* section, std::size_t size, std::uint8_t options) {
    const std::size_t namesAt = sizeof(Elf64_Ehdr);
    const std::size_t headersAt = (namesAt + sizeof kNames + 7) & ~std::size_t{7};
    const std::size_t sectionAt = headersAt + 3 * sizeof(Elf64_Shdr);
    std::vector<char> file(sectionAt + size);
    Elf64_Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_DYN;
    header.e_machine = EM_X86_64;
    header.e_version = EV_CURRENT;
    header.e_shoff = headersAt;
    header.e_ehsize = sizeof(Elf64_Ehdr);
    header.e_shentsize = sizeof(Elf64_Shdr);
    header.e_shnum = 3;
    header.e_shstrndx = 1;
    Elf64_Shdr sections[3] = {};
    sections[1].sh_name = 1;
    sections[1].sh_type = SHT_STRTAB;
    sections[1].sh_offset = namesAt;
    sections[1].sh_size = sizeof kNames;
    sections[2].sh_name = 11;
    sections[2].sh_type = (options & 4) != 0 ? SHT_NOBITS : SHT_PROGBITS;
    sections[2].sh_flags = (options & 2) != 0 ? SHF_ALLOC : 0;
    sections[2].sh_offset = sectionAt;
    sections[2].sh_size = size + ((options & 1) != 0 ? 64 : 0);
    std::memcpy(file.data(), &header, sizeof header);
    std::memcpy(file.data() + namesAt, kNames, sizeof kNames);
    std::memcpy(file.data() + headersAt, sections, sizeof sections);
    if (size != 0) {
        std::memcpy(file.data() + sectionAt, section, size);
    }
    return file;
}

// A temporary file, owner-only, removed when it goes.
class TempFile {
public:
    explicit TempFile(const std::vector<char>& bytes) {
        const char* dir = std::getenv("TMPDIR");
        m_path = std::string(dir != nullptr ? dir : "/tmp") + "/plinth-fuzz-XXXXXX";
        const int fd = ::mkstemp(m_path.data());
        if (fd < 0) {
            m_path.clear();
            return;
        }
        const bool written =
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::close(fd);
        if (!written) {
            ::unlink(m_path.c_str());
            m_path.clear();
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
        }
    }
    const char* Path() const { return m_path.empty() ? nullptr : m_path.c_str(); }

private:
    std::string m_path;
};

// Loads every resource that the walks report, reading all of its bytes.
BOOL OnLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR) {
    const HRSRC found = FindResourceExA(module, type, name, language);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
    unsigned sum = 0;
    for (DWORD i = 0; bytes != nullptr && i < SizeofResource(module, found); ++i) {
        sum += bytes[i];
    }
    return sum != 0xFFFFFFFFu ? 1 : 0; // go on
}
BOOL OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR) {
    FindResourceA(module, name, type);
    EnumResourceLanguagesA(module, type, name, OnLanguage, 0);
    return 1; // go on
}
BOOL OnType(HMODULE module, LPSTR type, LONG_PTR) {
    EnumResourceNamesA(module, type, OnName, 0);
    return 1; // go on
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const TempFile file(ModuleWith(data + 1, size - 1, data[0]));
    if (file.Path() == nullptr) {
        return 0;
    }
    const HMODULE module = LoadLibraryExA(file.Path(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module != nullptr) {
        EnumResourceTypesA(module, OnType, 0);
        FreeLibrary(module);
    }
    return 0;
}
