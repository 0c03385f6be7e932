// velumbar-jc: packs the class script into its stored block, unpacks such a
// block for checks, and turns a block into a C++ source for the build.
//
//   velumbar-jc pack [--no-checksum] IN OUT
//   velumbar-jc unpack IN OUT
//   velumbar-jc embed IN OUT.cpp SYMBOL [HEADER]

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script/jc_block.h"
#include "script/unpack.h"
#include "tools/jc/embed.h"
#include "tools/jc/pack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool readFile(const char* path, Bytes* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const char* path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    return bool(out.flush());
}

int usage() {
    std::fputs(
        "usage: velumbar-jc pack [--no-checksum] IN OUT\n"
        "       velumbar-jc unpack IN OUT\n"
        "       velumbar-jc embed IN OUT.cpp SYMBOL [HEADER]\n",
        stderr);
    return 2;
}

int fail(const char* what, const char* path) {
    std::fprintf(stderr, "velumbar-jc: %s: %s\n", what, path);
    return 1;
}

int pack(int argc, char** argv) {
    vb::jc::PackOptions options;
    int i = 2;
    if (i < argc && std::strcmp(argv[i], "--no-checksum") == 0) {
        options.checksum = false;
        ++i;
    }
    if (argc - i != 2) return usage();
    Bytes data;
    if (!readFile(argv[i], &data)) return fail("cannot read", argv[i]);
    const Bytes block = vb::jc::packJcBlock(data, options);
    if (!writeFile(argv[i + 1], block.data(), block.size())) return fail("cannot write", argv[i + 1]);
    return 0;
}

int unpack(int argc, char** argv) {
    if (argc != 4) return usage();
    Bytes data;
    if (!readFile(argv[2], &data)) return fail("cannot read", argv[2]);
    vb::script::JcBlock block;
    if (!vb::script::readJcBlock(data.data(), data.size(), &block))
        return fail("not a packed block", argv[2]);
    Bytes out(block.unpackedSize);
    const vb::script::JcUnpackResult r =
        vb::script::unpackJcStream(block.stream, block.packedSize, out.data(), out.size());
    if (!r.ok || r.size != block.unpackedSize) return fail("rejected packed stream", argv[2]);
    if (!writeFile(argv[3], out.data(), out.size())) return fail("cannot write", argv[3]);
    return 0;
}

int embed(int argc, char** argv) {
    if (argc != 5 && argc != 6) return usage();
    Bytes data;
    if (!readFile(argv[2], &data)) return fail("cannot read", argv[2]);
    const std::string source = vb::jc::embedSource(data, argv[4], argc == 6 ? argv[5] : "");
    if (!writeFile(argv[3], source.data(), source.size())) return fail("cannot write", argv[3]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    try {
        const std::string mode = argv[1];
        if (mode == "pack") return pack(argc, argv);
        if (mode == "unpack") return unpack(argc, argv);
        if (mode == "embed") return embed(argc, argv);
        return usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velumbar-jc: %s\n", e.what());
        return 1;
    }
}
