#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

using namespace VELD;
namespace fs = std::filesystem;

namespace {

class AtomicSaveTest : public testing::Test {
protected:
    const IoMeta& m = IoMeta::get();
    Model model = m.newModel();
    fs::path dir;
    fs::path target;
    std::string previous;

    void SetUp() override {
        char tmpl[] = "/tmp/veld-save-XXXXXX";
        dir = mkdtemp(tmpl);
        target = dir / "model.veld";
        Model old = m.newModel();
        commit(old, [&] { old.getRootObject().setString(m.title, "the previous contents"); });
        saveModel(old, target.string());
        previous = readBytes(target.string());
        commit(model, [&] {
            for (int i = 0; i < 2000; ++i) {
                ClassObject o = model.getFactory().create(m.item);
                model.getRootObject().add(m.items, o);
                o.setString(m.label, "item number " + std::to_string(i));
            }
        });
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    void expectSaveFails(const std::string& path) {
        try {
            saveModel(model, path);
            ADD_FAILURE() << "the save reported success";
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), path);
            EXPECT_NE(e.message().find("cannot save"), std::string::npos) << e.what();
        }
    }
};

TEST_F(AtomicSaveTest, ASaveReplacesThePreviousFileAndLeavesNothingElse) {
    saveModel(model, target.string());
    EXPECT_NE(readBytes(target.string()), previous);
    EXPECT_TRUE(sameModel(model, loadModel(target.string())));
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"model.veld"});
}

TEST_F(AtomicSaveTest, AFullDiskLeavesThePreviousFileIntact) {
    // The file size limit makes writes fail as a full disk does (EFBIG instead of ENOSPC).
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectSaveFails(target.string());
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_EQ(readBytes(target.string()), previous);
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"model.veld"});
}

TEST_F(AtomicSaveTest, ADirectoryInTheWayOrAMissingFolderIsAnError) {
    fs::create_directory(dir / "sub");
    writeBytes((dir / "sub" / "keep").string(), "kept");
    expectSaveFails((dir / "sub").string());
    EXPECT_EQ(readBytes((dir / "sub" / "keep").string()), "kept");
    expectSaveFails((dir / "missing" / "model.veld").string());
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(readBytes(target.string()), previous);
}

TEST_F(AtomicSaveTest, AnUnwritableFolderLeavesThePreviousFileIntact) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(dir.c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    expectSaveFails(target.string());
    EXPECT_EQ(readBytes(target.string()), previous);
}

TEST_F(AtomicSaveTest, AModelTooDeepToReadBackIsNotWritten) {
    commit(model, [&] {
        ClassObject parent = model.getRootObject().get(m.items)[0].asClassObject();
        for (int i = 0; i < 10001; ++i) {
            ClassObject child = model.getFactory().create(m.item);
            parent.add(m.parts, child);
            parent = child;
        }
    });
    expectSaveFails(target.string());
    EXPECT_EQ(readBytes(target.string()), previous);
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"model.veld"});
}

} // namespace
