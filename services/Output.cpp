#include "Output.h"

#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zerin::services {

bool WriteAll(std::FILE* out, std::FILE* err, std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0 &&
        !std::ferror(out))
        return true;
    // A short write may leave errno unset: the device took no more.
    std::fprintf(err, "zerin: could not write the output: %s\n",
                 std::strerror(errno ? errno : EIO));
    return false;
}

int WrittenToMemory(const std::function<int(std::FILE* out, std::FILE* err)>& write,
                    std::string& text, std::string& messages) {
    char *out = nullptr, *err = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* outFile = open_memstream(&out, &outSize);
    std::FILE* errFile = open_memstream(&err, &errSize);
    int status = 2;
    if (outFile && errFile)
        status = write(outFile, errFile);
    else
        messages = "no memory for the table";
    if (outFile) std::fclose(outFile);
    if (errFile) std::fclose(errFile);
    text.assign(out ? out : "", out ? outSize : 0);
    messages.append(err ? err : "", err ? errSize : 0);
    std::free(out);
    std::free(err);
    return status;
}

std::string RegionalDecimalSeparator() {
    // The user's LC_NUMERIC read into a locale object of its own: the process's locale, which
    // every other number conversion uses, is never switched.
    const locale_t regional = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!regional) return ".";
    const char* point = nl_langinfo_l(RADIXCHAR, regional);
    const std::string separator = point && *point ? point : ".";
    freelocale(regional);
    return separator;
}

}  // namespace zerin::services
