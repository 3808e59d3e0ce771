#include "host/Foundation/AtomicFile.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "atomicfile.XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }

    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::string bytes(fs::file_size(p), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }
    static void put(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    // The hidden files in `folder`, which is where temporary files show.
    static std::vector<std::string> tempFilesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) {
            std::string n = e.path().filename().string();
            if (n.starts_with(".")) names.push_back(n);
        }
        return names;
    }

    fs::path dir;
};

TEST_F(AtomicFileTest, ReplacesContentAndKeepsMode) {
    std::string binary(300000, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 % 251);

    const fs::path target = dir / "prefs.plist";
    for (const std::string& bytes : {std::string("old"), binary, std::string(), std::string("last\n")}) {
        std::string error;
        ASSERT_TRUE(host::writeFileAtomically(target, bytes, &error)) << error;
        EXPECT_EQ(read(target), bytes);
        EXPECT_TRUE(tempFilesIn(dir).empty());
    }
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));

    // A file that was made private stays private after being replaced.
    fs::permissions(target, fs::perms(0600));
    ASSERT_TRUE(host::writeFileAtomically(target, "again"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
    EXPECT_EQ(read(target), "again");
}

TEST_F(AtomicFileTest, RelativePathWritesIntoCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    std::string error;
    bool ok = host::writeFileAtomically("relative.txt", "here", &error);
    fs::current_path(before);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(read(dir / "relative.txt"), "here");
}

// Sets a file size limit for the process while it lives; writes past it fail with EFBIG instead
// of killing the process. Root obeys it too, unlike permission bits.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    rlimit saved{};
    void (*oldHandler)(int);
};

TEST_F(AtomicFileTest, FailureLeavesOldFileAndNoTemporaryFile) {
    const fs::path target = dir / "prefs.plist";
    put(dir / "plain-file", "not a folder");
    fs::create_directory(dir / "occupied");
    put(dir / "occupied" / "keep", "kept");

    struct Case {
        const char* what;
        fs::path path;
        int expectedErrno;
        std::function<void()> arrange;
    };
    std::vector<Case> cases = {
        {"folder is a regular file", dir / "plain-file" / "prefs.plist", ENOTDIR, nullptr},
        {"folder does not exist", dir / "missing" / "prefs.plist", ENOENT, nullptr},
        {"target is a non-empty folder", dir / "occupied", EISDIR, nullptr},
        {"write fails part-way", target, EFBIG, nullptr},
    };
    // Permission bits stop everyone but root.
    if (::geteuid() != 0)
        cases.push_back({"folder is read-only", target, EACCES, [&] { fs::permissions(dir, fs::perms(0555)); }});

    const std::string big(1 << 20, 'x');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(target, "old content");
        if (c.arrange) c.arrange();
        std::string error;
        bool ok;
        {
            std::optional<FileSizeLimit> limit;
            if (c.expectedErrno == EFBIG) limit.emplace(64 * 1024);
            ok = host::writeFileAtomically(c.path, big, &error);
        }
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find(std::strerror(c.expectedErrno)), std::string::npos) << error;
        EXPECT_EQ(read(target), "old content");
        EXPECT_EQ(read(dir / "occupied" / "keep"), "kept");
        EXPECT_TRUE(tempFilesIn(dir).empty());
        EXPECT_TRUE(tempFilesIn(dir / "occupied").empty());
    }
}

// A value that proves it is whole: a header naming its sequence number and size, then a payload
// generated from the sequence number. Sizes differ from value to value, so a file torn between two
// values, cut short or empty does not check out. Buffers are reused: fresh megabytes on every
// round cost more than the writes being tested.
size_t valueSize(uint64_t seq) { return (1u << 20) + (seq * 2654435761u) % (1u << 20); }
std::string valueHeader(uint64_t seq) {
    return "VALUE " + std::to_string(seq) + " " + std::to_string(valueSize(seq)) + "\n";
}
uint64_t nextWord(uint64_t& x) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    return x;
}

void makeValue(uint64_t seq, std::string& out) {
    out.assign(valueHeader(seq));
    const size_t header = out.size();
    out.resize(header + valueSize(seq));
    uint64_t x = seq * 0x9E3779B97F4A7C15ull + 1;
    for (size_t i = header; i < out.size(); i += 8) {
        const uint64_t w = nextWord(x);
        std::memcpy(&out[i], &w, std::min<size_t>(8, out.size() - i));
    }
}

std::optional<uint64_t> wholeValueSeq(std::string_view content) {
    uint64_t seq = 0;
    if (!content.starts_with("VALUE ")) return std::nullopt;
    std::from_chars(content.data() + 6, content.data() + content.size(), seq);
    const std::string header = valueHeader(seq);
    if (!content.starts_with(header) || content.size() != header.size() + valueSize(seq)) return std::nullopt;
    uint64_t x = seq * 0x9E3779B97F4A7C15ull + 1;
    for (size_t i = header.size(); i < content.size(); i += 8) {
        const uint64_t w = nextWord(x);
        if (std::memcmp(&content[i], &w, std::min<size_t>(8, content.size() - i)) != 0) return std::nullopt;
    }
    return seq;
}

// The file's bytes, mapped rather than copied: after each fork every page of a buffer the parent
// writes to faults again, which made reading into a buffer cost more than the writes under test.
class MappedFile {
public:
    explicit MappedFile(const fs::path& p) {
        int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st{};
        if (fd < 0 || ::fstat(fd, &st) != 0) throw std::runtime_error("cannot open " + p.string());
        size_ = static_cast<size_t>(st.st_size);
        if (size_ > 0) data_ = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (data_ == MAP_FAILED) throw std::runtime_error("cannot map " + p.string());
    }
    ~MappedFile() {
        if (data_) ::munmap(data_, size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    std::string_view bytes() const { return {static_cast<const char*>(data_), data_ ? size_ : 0}; }

private:
    void* data_ = nullptr;
    size_t size_ = 0;
};

TEST_F(AtomicFileTest, KilledWriterNeverLeavesTornFile) {
    const fs::path target = dir / "value.plist";
    std::string value;
    // Kill delays are scaled to what one write costs in this build.
    const auto start = std::chrono::steady_clock::now();
    makeValue(0, value);
    ASSERT_TRUE(host::writeFileAtomically(target, value));
    const auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

    std::random_device device;
    const unsigned seed = device();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> completedWrites(0, 2);
    std::uniform_int_distribution<long> delayMicros(0, 2 * oneWrite.count());
    SCOPED_TRACE("seed " + std::to_string(seed));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    uint64_t lastSeq = 0;
    int kills = 0, advanced = 0;
    // 200 rounds, or as many as fit in the time on a busy machine, but never fewer than 20.
    while (kills < 200 && (kills < 20 || std::chrono::steady_clock::now() < deadline)) {
        // The writer reports each value it has completely written, so the parent knows which two
        // values the file may hold when the kill lands: the last reported or the one in flight.
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const uint64_t firstSeq = lastSeq + 1;
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(progress[0]);
            for (uint64_t seq = firstSeq;; ++seq) {
                makeValue(seq, value);
                if (!host::writeFileAtomically(target, value)) ::_exit(2);
                if (::write(progress[1], &seq, sizeof seq) != sizeof seq) ::_exit(3);
            }
        }
        ::close(progress[1]);
        uint64_t reported = lastSeq;
        for (int n = completedWrites(rng); n > 0; --n)
            ASSERT_EQ(::read(progress[0], &reported, sizeof reported), ssize_t(sizeof reported));
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
        while (::read(progress[0], &reported, sizeof reported) == ssize_t(sizeof reported)) {
        }
        ::close(progress[0]);
        ++kills;

        const MappedFile content(target);
        const std::optional<uint64_t> seq = wholeValueSeq(content.bytes());
        ASSERT_TRUE(seq.has_value()) << "torn file after kill " << kills << " (" << content.bytes().size() << " bytes)";
        ASSERT_TRUE(*seq == reported || *seq == reported + 1)
            << "file holds value " << *seq << ", last completed write was " << reported;
        advanced += *seq != lastSeq;
        lastSeq = *seq;
    }

    // Writers killed mid-write leave their temporary files; they are hidden and never the target.
    size_t visible = 0;
    for (const auto& e : fs::directory_iterator(dir)) visible += !e.path().filename().string().starts_with(".");
    EXPECT_EQ(visible, 1u);
    const std::vector<std::string> stale = tempFilesIn(dir);
    for (const std::string& name : stale) EXPECT_TRUE(name.starts_with(".value.plist.")) << name;
    makeValue(lastSeq + 1, value);
    ASSERT_TRUE(host::writeFileAtomically(target, value));
    EXPECT_EQ(wholeValueSeq(MappedFile(target).bytes()), lastSeq + 1);

    std::cout << "[ stats    ] " << kills << " writers killed, " << advanced << " of them left a newer value, "
              << stale.size() << " stale temporary files left\n";
    RecordProperty("kills", kills);
    RecordProperty("staleTemporaryFiles", static_cast<int>(stale.size()));
}

}  // namespace
