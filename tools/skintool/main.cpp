// skintool: the skin author's command-line tool. Packs a folder of .bmp files
// and one .ini description into a compressed skin container, lists, extracts
// and checks containers and folders. Run without arguments for the usage.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/skin_reader.h"
#include "skin_check.h"
#include "skin_files.h"

namespace fs = std::filesystem;

int InspectCommand(const std::vector<std::string>& args);   // model_report.cpp

namespace {

const char* const USAGE =
    "usage:\n"
    "  skintool pack <folder> <out> [--version N] [--framed]\n"
    "      pack the folder's .bmp files and its one .ini into a skin file\n"
    "      (container version 70000 unless N is given: 20000, 30000, 40000,\n"
    "      50000, 60000 or 70000; --framed puts the 32-bit size of a stored\n"
    "      \"SkinStream\" property in front)\n"
    "  skintool list <file>\n"
    "      show the version and every entry with its size\n"
    "  skintool extract <file> <dir>\n"
    "      write every entry into <dir>\n"
    "  skintool check <file-or-folder>\n"
    "      check the description's image keys, frame counts and margins\n"
    "  skintool inspect <file> [--arrow N] [--dpi N]\n"
    "      print the skin model the program builds from the skin (--arrow: the\n"
    "      scroll-arrow width the combo box images are built for, 17; --dpi:\n"
    "      the model at that display scale, 96 by default), with the pictures\n"
    "      the skin ships for other scales\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "skintool: %s\n", message.c_str());
    return 1;
}

int Usage() {
    std::fputs(USAGE, stderr);
    return 2;
}

bool LoadSource(const fs::path& path, TSkinSource& source, std::string& error, bool quiet) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<std::string> skipped;
        if (!LoadSkinFolder(path, source, skipped, error)) return false;
        if (!quiet)
            for (const std::string& name : skipped)
                std::printf("skipping %s (only .bmp and .ini files go into a skin)\n", name.c_str());
        return true;
    }
    return LoadSkinContainerFile(path, source, error);
}

int Pack(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::int32_t version = SKIN_DEFAULT_VERSION;
    bool framed = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--framed") {
            framed = true;
        } else if (args[i] == "--version") {
            if (i + 1 >= args.size()) return Fail("--version needs a number");
            char* end = nullptr;
            const long v = std::strtol(args[++i].c_str(), &end, 10);
            if (end == args[i].c_str() || *end != '\0' || SkinExtraBlockSize(static_cast<std::int32_t>(v)) < 0)
                return Fail("unknown container version \"" + args[i] +
                            "\" (use 20000, 30000, 40000, 50000, 60000 or 70000)");
            version = static_cast<std::int32_t>(v);
        } else if (args[i].rfind("--", 0) == 0) {
            return Fail("unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return Usage();

    TSkinSource source;
    std::vector<std::string> skipped;
    std::string error;
    if (!LoadSkinFolder(positional[0], source, skipped, error)) return Fail(error);
    for (const std::string& name : skipped)
        std::printf("skipping %s (only .bmp and .ini files go into a skin)\n", name.c_str());

    int descriptions = 0;
    for (const TSkinFileEntry& f : source.Files) {
        const std::string name = GbkToUtf8(f.Name);
        if (name.size() > 4 && (name.compare(name.size() - 4, 4, ".ini") == 0 ||
                                name.compare(name.size() - 4, 4, ".INI") == 0)) {
            ++descriptions;
            continue;
        }
        TBmpImage image;
        std::string reason;
        if (!ParseBmp(f.Data.data(), f.Data.size(), image, &reason))
            return Fail(positional[0] + "/" + name + " is not a readable BMP file (" + reason + ")");
    }
    if (descriptions != 1)
        return Fail(positional[0] + " must hold exactly one .ini description (found " +
                    std::to_string(descriptions) + ")");
    if (source.Files.size() > static_cast<std::size_t>(SKIN_MAX_ENTRIES))
        return Fail("a skin holds at most 1001 files; " + positional[0] + " has " +
                    std::to_string(source.Files.size()));

    std::vector<std::uint8_t> packed = PackSkinContainer(source.Files, version);
    const std::size_t compressed = packed.size();
    if (framed) packed = FrameSkinStream(packed);

    // Read the result back before claiming success.
    TSkinReader reader;
    if (!reader.Load(packed.data() + (framed ? 4 : 0), compressed) ||
        reader.Count() != static_cast<int>(source.Files.size()))
        return Fail("internal error: the packed skin does not read back");
    for (const TSkinFileEntry& f : source.Files) {
        std::vector<std::uint8_t> back;
        reader.GetFileByName(f.Name, back);
        if (back != f.Data && source.Find(f.Name) == &f)
            return Fail("internal error: " + GbkToUtf8(f.Name) + " does not read back");
    }

    if (!WriteWholeFile(positional[1], packed, error)) return Fail(error);
    std::size_t plain = 0;
    for (const TSkinFileEntry& f : source.Files) plain += f.Data.size();
    std::printf("packed %zu files (%zu bytes) into %s: %zu bytes, version %d%s\n", source.Files.size(), plain,
                positional[1].c_str(), packed.size(), version, framed ? ", framed" : "");
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage();
    TSkinSource source;
    std::string error;
    if (!LoadSkinContainerFile(args[0], source, error)) return Fail(error);
    std::size_t total = 0;
    std::printf("version %d, %zu entries, %zu compressed bytes%s\n", source.Version, source.Files.size(),
                source.PackedSize, source.Framed ? " (stored property with its size in front)" : "");
    for (std::size_t i = 0; i < source.Files.size(); ++i) {
        const TSkinFileEntry& f = source.Files[i];
        total += f.Data.size();
        std::string detail;
        TBmpImage image;
        if (ParseBmp(f.Data.data(), f.Data.size(), image))
            detail = "  " + std::to_string(image.Width) + " x " + std::to_string(image.Height) + ", " +
                     std::to_string(image.BitCount) + " bpp";
        std::printf("%4zu %9zu  %s%s\n", i + 1, f.Data.size(), GbkToUtf8(f.Name).c_str(), detail.c_str());
    }
    std::printf("total %zu bytes in %zu entries\n", total, source.Files.size());
    return 0;
}

int Extract(const std::vector<std::string>& args) {
    if (args.size() != 2) return Usage();
    TSkinSource source;
    std::string error;
    if (!LoadSkinContainerFile(args[0], source, error)) return Fail(error);
    const fs::path dir = args[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return Fail("cannot create " + dir.string() + ": " + ec.message());
    int written = 0;
    for (const TSkinFileEntry& f : source.Files) {
        const std::string name = GbkToUtf8(f.Name);
        // Entry names come from the container: never let one leave the folder.
        if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos ||
            name.find(':') != std::string::npos) {
            std::printf("skipping entry \"%s\" (not a plain file name)\n", name.c_str());
            continue;
        }
        if (source.Find(f.Name) != &f) {
            std::printf("skipping a second entry named %s (the program only sees the first)\n", name.c_str());
            continue;
        }
        if (!WriteWholeFile(dir / name, f.Data, error)) return Fail(error);
        ++written;
    }
    std::printf("extracted %d files into %s\n", written, dir.string().c_str());
    return 0;
}

int Check(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage();
    TSkinSource source;
    std::string error;
    if (!LoadSource(args[0], source, error, true)) return Fail(error);
    const TCheckReport report = CheckSkin(source);
    for (const std::string& w : report.Warnings) std::printf("warning: %s\n", w.c_str());
    for (const std::string& e : report.Errors) std::printf("error: %s\n", e.c_str());
    if (!report.Errors.empty()) {
        std::printf("%s: %zu error(s)\n", args[0].c_str(), report.Errors.size());
        return 1;
    }
    std::printf("%s: ok (%zu files, %d images checked)\n", args[0].c_str(), source.Files.size(),
                report.ImagesChecked);
    return 0;
}

int Inspect(const std::vector<std::string>& args) { return InspectCommand(args); }

struct TCommand {
    const char* Name;
    int (*Run)(const std::vector<std::string>& args);
};

// Further commands (such as printing the skin model) join this table.
constexpr TCommand COMMANDS[] = {
    {"pack", Pack},
    {"list", List},
    {"extract", Extract},
    {"check", Check},
    {"inspect", Inspect},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const TCommand& c : COMMANDS)
        if (name == c.Name) {
            try {
                return c.Run(args);
            } catch (const std::exception& e) {
                return Fail(e.what());
            }
        }
    if (name == "-h" || name == "--help" || name == "help") {
        std::fputs(USAGE, stdout);
        return 0;
    }
    std::fprintf(stderr, "skintool: unknown command \"%s\"\n", name.c_str());
    return Usage();
}
