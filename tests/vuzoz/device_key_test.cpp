// The device keys that name the simulated panels' registry sections.
#include "vuzoz_test_support.h"

#include <cstdlib>
#include <set>

namespace {

using DeviceKey = vuzoz_test::SimulatorTest;

// The key of a device, or "<error N>" when the library gives none.
std::string KeyOf(int device)
{
    const char* key = nullptr;
    const tagBGDevResult result = BGGetDevKey(device, &key);
    if (result != BG_OK)
        return "<error " + std::to_string(result) + ">";
    std::string text = key != nullptr ? key : "<null>";
    std::free(const_cast<char*>(key));
    return text;
}

std::vector<std::string> AllKeys(size_t count)
{
    std::vector<std::string> keys;
    for (size_t device = 0; device < count; ++device)
        keys.push_back(KeyOf(static_cast<int>(device)));
    return keys;
}

TEST_F(DeviceKey, EveryPanelHasItsOwnKeyUsableAsARegistryKeyName)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,3,1,2,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    const std::vector<std::string> keys = AllKeys(5);
    EXPECT_EQ(5u, std::set<std::string>(keys.begin(), keys.end()).size());
    for (const std::string& key : keys) {
        EXPECT_FALSE(key.empty());
        EXPECT_EQ('S', key[0]) << key;  // not an error text
        EXPECT_EQ(std::string::npos, key.find('\\')) << key;
        EXPECT_LT(key.size(), 200u) << key;
    }
}

TEST_F(DeviceKey, StaysTheSameFromRunToRun)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,1,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    const std::vector<std::string> first = AllKeys(3);
    ASSERT_EQ(BG_OK, BGTerminate());
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(first, AllKeys(3));
}

TEST_F(DeviceKey, DependsOnTypeAndPlaceAmongPanelsOfThatType)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,1,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    const std::vector<std::string> before = AllKeys(3);
    ASSERT_EQ(BG_OK, BGTerminate());

    // A toggle switch panel plugged in first moves the others' device indices, not their keys.
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"2,1,3,1");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    const std::vector<std::string> after = AllKeys(4);
    EXPECT_EQ(before[0], after[1]);
    EXPECT_EQ(before[1], after[3]);
    EXPECT_EQ(before[2], after[2]);
}

TEST_F(DeviceKey, ASerialNamesItsPanelWithoutMovingTheOthersKeys)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 1", "Simulated RP 1"}), AllKeys(2));
    ASSERT_EQ(BG_OK, BGTerminate());

    // A panel with a serial plugged in first: the others keep theirs.
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1:A7,1,3,3:r2d2");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A7", "Simulated B88 1", "Simulated RP 1",
                                        "Simulated RP r2d2"}),
              AllKeys(4));
}

TEST_F(DeviceKey, EachCallHandsOutItsOwnMallocCopy)
{
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    const char* first = nullptr;
    const char* second = nullptr;
    ASSERT_EQ(BG_OK, BGGetDevKey(0, &first));
    ASSERT_EQ(BG_OK, BGGetDevKey(0, &second));
    ASSERT_NE(first, second);
    EXPECT_STREQ(first, second);

    // The caller owns its copy: changing and freeing it leaves the library's key alone.
    const std::string original = first;
    char* mine = const_cast<char*>(first);
    mine[0] = 'X';
    std::free(mine);
    EXPECT_EQ(original, second);
    std::free(const_cast<char*>(second));
    EXPECT_EQ(original, KeyOf(0));
}

TEST_F(DeviceKey, NoKeyOutsideTheAttachedPanelsOrOutsideASession)
{
    const char* const untouched = "untouched";
    const char* key = untouched;
    EXPECT_NE(BG_OK, BGGetDevKey(0, &key));  // before BGInit
    EXPECT_EQ(untouched, key);

    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,2");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    for (int device : {-1, 2, 65536}) {
        EXPECT_NE(BG_OK, BGGetDevKey(device, &key)) << device;
        EXPECT_EQ(untouched, key) << device;
    }
    EXPECT_NE(BG_OK, BGGetDevKey(0, nullptr));

    ASSERT_EQ(BG_OK, BGTerminate());
    EXPECT_NE(BG_OK, BGGetDevKey(0, &key));
    EXPECT_EQ(untouched, key);
}

}  // namespace
