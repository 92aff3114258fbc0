// Chunk files: an empty chunk or a failed write never costs the file already there.
#include "TempFolder.h"

#include "tools/ChunkFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{
std::vector<uint8_t> contentsOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}
} // namespace

TEST(ChunkFiles, AnEmptyChunkOrAFailedWriteKeepsTheFile)
{
    const TempFolder folder("pulsetta-chunk-");
    const auto path = folder.file("state.bin");
    const std::vector<uint8_t> state { 1, 2, 3, 4 };
    ASSERT_TRUE(clihost::writeChunkFile(state, path));
    EXPECT_EQ(contentsOf(path), state);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // What a plug-in answering nothing would make of --load-chunk X --save-chunk X.
    EXPECT_FALSE(clihost::writeChunkFile({}, path));
    EXPECT_EQ(contentsOf(path), state);

    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(clihost::writeChunkFile({ 9, 9 }, path));
    EXPECT_EQ(contentsOf(path), state);

    EXPECT_FALSE(clihost::writeChunkFile(state, folder.file("missing/state.bin")));
}
