// Profiles without a window: saving the stored settings under a name, switching between
// profiles (the store equals each profile, values of other tools kept, keys a profile does
// not hold left alone), the questions a switch asks and the command line's answers, names
// and files refused with the store unchanged, a write failing half-way, a profile file
// deleted or damaged behind Tollan's back, renaming and deleting.
#include "profile_test_support.h"
#include "store/pending_save.h"
#include "store_test_support.h"
#include "test_settings.h"
#include "transfer/command_line_transfer.h"
#include "transfer/profile_store.h"
#include "transfer/settings_store_io.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using profile_test::ProfileFolderFixture;
using transfer::CProfileStore;
using transfer::CSwitchQuestions;
using transfer::SwitchStatus;
using transfer_test::DumpStore;
using transfer_test::Narrow;

// Answers a switch's questions as the test says and records what was asked.
class ScriptedQuestions : public CSwitchQuestions {
public:
    explicit ScriptedQuestions(Answer update = kYes, bool replace = true) : m_update(update), m_replace(replace) {}
    Answer UpdateActiveFirst(const std::wstring& active, const std::wstring& next) override {
        asked.push_back(L"update " + active + L" before " + next);
        return m_update;
    }
    bool ReplaceSettingsInNoProfile(const std::wstring& next) override {
        asked.push_back(L"replace settings in no profile with " + next);
        return m_replace;
    }
    std::vector<std::wstring> asked;

private:
    Answer m_update;
    bool m_replace;
};

class TransferProfile : public ProfileFolderFixture {
protected:
    CProfileStore Profiles() const { return CProfileStore(Folder(), test_settings::ProfilePath()); }

    int Run(transfer::Command command, const std::wstring& argument) { return transfer::RunCommand(command, argument); }
};

TEST_F(TransferProfile, SwitchingBackAndForthMakesTheStoreEqualEachProfile) {
    profile_test::StoreTwoPanels(0x10022, 40);
    test_settings::WriteString(L"All aircraft\\Pushbuttons", L"Written by another tool", L"keep");
    test_settings::WriteDword(L"Hardware\\Toggles", L"Colour", 7);
    ASSERT_EQ(transfer::kExitOk, Run(transfer::Command::SaveProfile, L"Ночной полёт"));
    const std::wstring storeOfNight = DumpStore();
    EXPECT_EQ(L"Ночной полёт", Profiles().ActiveName());

    profile_test::StoreTwoPanels(0x10187, 200);
    ASSERT_EQ(transfer::kExitOk, Run(transfer::Command::SaveProfile, L"Day"));
    const std::wstring storeOfDay = DumpStore();
    ASSERT_NE(storeOfNight, storeOfDay);

    // The file is the export format: UTF-16 with its mark, the panels' sections, nothing else.
    const std::wstring dayFile = transfer_test::FileText(Profiles().PathOf(L"Day"));
    EXPECT_EQ(0u, dayFile.find(L"Windows Registry Editor Version 5.00\r\n"));
    EXPECT_NE(std::wstring::npos, dayFile.find(L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings\\All aircraft"
                                               L"\\Pushbuttons]\r\n\"Button0\"=dword:00010187\r\n"));
    EXPECT_NE(std::wstring::npos, dayFile.find(L"\"Brightness\"=dword:000000c8"));
    EXPECT_EQ(std::wstring::npos, dayFile.find(L"another tool"));
    EXPECT_EQ(std::wstring::npos, dayFile.find(L"Colour"));
    const std::vector<unsigned char> dayBytes = transfer_test::ReadBytes(Profiles().PathOf(L"Day"));

    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"Ночной полёт"));
        EXPECT_EQ(storeOfNight, DumpStore());
        EXPECT_EQ(L"Ночной полёт", Profiles().ActiveName());
        EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"day"));
        EXPECT_EQ(storeOfDay, DumpStore());
        EXPECT_TRUE(store_test::DescribeSection(L"Hardware\\Toggles").find(L"Colour 4 07000000") != std::wstring::npos);
    }
    // Switching a store that equals its profile updates no file.
    EXPECT_EQ(dayBytes, transfer_test::ReadBytes(Profiles().PathOf(L"Day")));
    EXPECT_EQ(std::vector<std::wstring>({L"Day", L"Ночной полёт"}), Profiles().Names());
}

TEST_F(TransferProfile, KeysAProfileDoesNotHoldAreLeftAlone) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"Two panels").ok);
    profile_test::StorePanel(L"Radio", 3, 0x10100, 90);
    ASSERT_TRUE(Profiles().Save(L"Three panels").ok);
    profile_test::StorePanel(L"Pushbuttons", 1, 0x10187, 5);
    ASSERT_TRUE(Profiles().Save(L"Changed").ok);
    const std::wstring radio = store_test::DescribeSection(L"Hardware\\Radio");

    ScriptedQuestions questions;
    EXPECT_EQ(SwitchStatus::Switched, transfer::SwitchProfile(Profiles(), L"Two panels", questions).status);
    EXPECT_TRUE(questions.asked.empty());
    DWORD button = 0;
    EXPECT_TRUE(test_settings::ReadDword(L"All aircraft\\Pushbuttons", L"Button0", &button));
    EXPECT_EQ(0x10022u, button);
    EXPECT_EQ(radio, store_test::DescribeSection(L"Hardware\\Radio"));
}

TEST_F(TransferProfile, StoredSettingsChangedBehindTheActiveProfileAreAskedAbout) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    profile_test::StoreTwoPanels(0x10187, 200);
    ASSERT_TRUE(Profiles().Save(L"B").ok);
    ScriptedQuestions first;
    ASSERT_EQ(SwitchStatus::Switched, transfer::SwitchProfile(Profiles(), L"A", first).status);
    const std::wstring storeOfA = DumpStore();
    test_settings::WriteDword(L"Hardware\\Pushbuttons", L"Brightness", 99);  // an Apply since the switch
    const std::wstring changed = DumpStore();
    const std::vector<unsigned char> fileA = transfer_test::ReadBytes(Profiles().PathOf(L"A"));
    const std::vector<unsigned char> fileB = transfer_test::ReadBytes(Profiles().PathOf(L"B"));

    // Cancel changes nothing at all.
    ScriptedQuestions cancel(CSwitchQuestions::kCancel);
    EXPECT_EQ(SwitchStatus::Cancelled, transfer::SwitchProfile(Profiles(), L"B", cancel).status);
    EXPECT_EQ(std::vector<std::wstring>({L"update A before B"}), cancel.asked);
    EXPECT_EQ(changed, DumpStore());
    EXPECT_EQ(fileA, transfer_test::ReadBytes(Profiles().PathOf(L"A")));
    EXPECT_EQ(L"A", Profiles().ActiveName());

    // No: A stays as it was saved, B comes in.
    ScriptedQuestions no(CSwitchQuestions::kNo);
    EXPECT_EQ(SwitchStatus::Switched, transfer::SwitchProfile(Profiles(), L"B", no).status);
    EXPECT_EQ(fileA, transfer_test::ReadBytes(Profiles().PathOf(L"A")));
    EXPECT_EQ(fileB, transfer_test::ReadBytes(Profiles().PathOf(L"B")));
    EXPECT_EQ(L"B", Profiles().ActiveName());

    // Yes (and the command line, which never asks): B is updated first, then A comes in.
    test_settings::WriteDword(L"Hardware\\Toggles", L"Fast On", 77);
    const std::wstring changedB = DumpStore();
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"A"));
    EXPECT_EQ(storeOfA, DumpStore());
    EXPECT_NE(std::wstring::npos,
              transfer_test::FileText(Profiles().PathOf(L"B")).find(L"\"Fast On\"=dword:0000004d"));
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"B"));
    EXPECT_EQ(changedB, DumpStore());
}

TEST_F(TransferProfile, SwitchingToTheActiveProfileItselfKeepsOrDropsTheChangesAsAnswered) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    test_settings::WriteDword(L"Hardware\\Pushbuttons", L"Brightness", 99);
    const std::wstring changed = DumpStore();

    // Yes keeps the changes: the profile takes them and stays what is stored.
    ScriptedQuestions yes(CSwitchQuestions::kYes);
    EXPECT_EQ(SwitchStatus::Switched, transfer::SwitchProfile(Profiles(), L"A", yes).status);
    EXPECT_EQ(1u, yes.asked.size());
    EXPECT_EQ(changed, DumpStore());
    EXPECT_NE(std::wstring::npos, transfer_test::FileText(Profiles().PathOf(L"A")).find(L"dword:00000063"));

    // No goes back to the profile as it was saved.
    test_settings::WriteDword(L"Hardware\\Pushbuttons", L"Brightness", 12);
    ScriptedQuestions no(CSwitchQuestions::kNo);
    EXPECT_EQ(SwitchStatus::Switched, transfer::SwitchProfile(Profiles(), L"A", no).status);
    EXPECT_EQ(1u, no.asked.size());
    EXPECT_EQ(changed, DumpStore());
}

TEST_F(TransferProfile, SettingsInNoProfileAreNotReplacedFromTheCommandLine) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    ASSERT_EQ(ERROR_SUCCESS, Profiles().SetActiveName(L""));
    test_settings::WriteDword(L"Hardware\\Pushbuttons", L"Brightness", 99);
    const std::wstring before = DumpStore();

    EXPECT_EQ(transfer::kExitFailed, Run(transfer::Command::SwitchProfile, L"A"));
    EXPECT_EQ(before, DumpStore());
    EXPECT_EQ(L"", Profiles().ActiveName());

    ScriptedQuestions refuse(CSwitchQuestions::kYes, false);
    EXPECT_EQ(SwitchStatus::Cancelled, transfer::SwitchProfile(Profiles(), L"A", refuse).status);
    EXPECT_EQ(std::vector<std::wstring>({L"replace settings in no profile with A"}), refuse.asked);
    EXPECT_EQ(before, DumpStore());

    // Settings the profile holds anyway are nothing to lose.
    test_settings::WriteDword(L"Hardware\\Pushbuttons", L"Brightness", 40);
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"A"));
    EXPECT_EQ(L"A", Profiles().ActiveName());
}

TEST_F(TransferProfile, NamesWindowsCannotUseAreRefusedAndChangeNothing) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"Kept").ok);
    const std::wstring before = DumpStore();
    struct Case {
        std::wstring name;
        std::wstring message;
    };
    const std::wstring characters =
        L"A profile name cannot contain the characters \\ / : * ? \" < > | or tabs and line breaks.";
    const std::vector<Case> refused = {
        {L"", L"Type a name for the profile."},
        {L" . ", L"Type a name for the profile."},
        {L"CON", L"\"CON\" is a name Windows keeps for a device. Choose another profile name."},
        {L"nul", L"\"nul\" is a name Windows keeps for a device. Choose another profile name."},
        {L"Com7", L"\"Com7\" is a name Windows keeps for a device. Choose another profile name."},
        {L"LPT1 .txt", L"\"LPT1 .txt\" is a name Windows keeps for a device. Choose another profile name."},
        {L"aux.night", L"\"aux.night\" is a name Windows keeps for a device. Choose another profile name."},
        {L"..\\..\\evil", characters},
        {L"a/b", characters},
        {L"C:evil", characters},
        {L"why?", characters},
        {L"st*r", characters},
        {L"\"q\"", characters},
        {L"<a>", characters},
        {L"a|b", characters},
        {L"tab\there", characters},
        {L"line\nbreak", characters},
        {L"Night.", L"A profile name cannot end with a dot or a space."},
        {L"Night ", L"A profile name cannot end with a dot or a space."},
        {std::wstring(101, L'x'), L"A profile name can have at most 100 characters."},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(Narrow(c.name));
        transfer::Outcome outcome = Profiles().Save(c.name);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(Narrow(c.message), Narrow(outcome.message));
        // No name at all is a command line without its argument.
        EXPECT_EQ(c.name.empty() ? transfer::kExitUsage : transfer::kExitFailed,
                  Run(transfer::Command::SaveProfile, c.name));
        ScriptedQuestions questions;
        EXPECT_EQ(SwitchStatus::Failed, transfer::SwitchProfile(Profiles(), c.name, questions).status);
        EXPECT_EQ(before, DumpStore());
        EXPECT_EQ(L"Kept", Profiles().ActiveName());
    }
    EXPECT_EQ(std::vector<std::wstring>({L"Kept"}), Profiles().Names());
    EXPECT_EQ(std::vector<std::wstring>({L"Kept.reg"}), profile_test::FilesIn(Folder()));

    const std::vector<std::wstring> accepted = {L"東京 ✈ 夜", L"COM10", L"CONSOLE", L".hidden", L"A320 (night) v1.2",
                                                std::wstring(100, L'y')};
    for (const std::wstring& name : accepted) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_TRUE(Profiles().Save(name).ok);
        EXPECT_TRUE(Profiles().Exists(name));
        EXPECT_EQ(name, Profiles().ActiveName());
    }
}

TEST_F(TransferProfile, DamagedOrForeignProfileFilesAreRefusedWholeAsImportRefusesThem) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"Good").ok);
    const std::wstring before = DumpStore();
    const std::wstring header = L"Windows Registry Editor Version 5.00\r\n\r\n";
    const std::wstring root = L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings";
    const std::pair<const char*, std::vector<unsigned char>> files[] = {
        {"a key outside the settings",
         transfer_test::Utf16File(header + root + L"\\Hardware\\Pushbuttons]\r\n\"Brightness\"=dword:00000001\r\n"
                                           L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                           L"\"Evil\"=\"calc.exe\"\r\n")},
        {"a value of another tool",
         transfer_test::Utf16File(header + root + L"\\All aircraft\\Pushbuttons]\r\n\"Autorun\"=\"x\"\r\n")},
        {"a key deletion", transfer_test::Utf16File(header + L"[-" + root.substr(1) + L"]\r\n")},
        {"cut off", std::vector<unsigned char>{0xFF, 0xFE, 'W', 0}},
        {"not text", std::vector<unsigned char>{'W', 0xC4, 0xC4, '\n'}},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        transfer_test::WriteBytes(Profiles().PathOf(L"Bad"), file.second);
        transfer::SettingsFile ignored;
        const transfer::Outcome import = transfer::LoadSettingsFile(Profiles().PathOf(L"Bad"), &ignored);
        ASSERT_FALSE(import.ok);
        ScriptedQuestions questions;
        const transfer::SwitchResult result = transfer::SwitchProfile(Profiles(), L"Bad", questions);
        EXPECT_EQ(SwitchStatus::Failed, result.status);
        EXPECT_EQ(Narrow(import.message), Narrow(result.message));
        EXPECT_EQ(transfer::kExitFailed, Run(transfer::Command::SwitchProfile, L"Bad"));
        EXPECT_EQ(before, DumpStore());
        EXPECT_EQ(L"Good", Profiles().ActiveName());
    }
    // The message names the line and the reason.
    transfer_test::WriteBytes(Profiles().PathOf(L"Bad"), files[0].second);
    ScriptedQuestions questions;
    EXPECT_NE(std::wstring::npos,
              transfer::SwitchProfile(Profiles(), L"Bad", questions)
                  .message.find(L"Line 5: only the keys All aircraft\\<device key> and Hardware\\<device key>"));
}

TEST_F(TransferProfile, AFailedWriteInTheMiddleOfASwitchPutsEverythingBack) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    profile_test::StoreTwoPanels(0x10187, 200);
    ASSERT_TRUE(Profiles().Save(L"B").ok);
    const std::wstring storeOfB = DumpStore();

    // The last section of the profile refuses its values once the first one is written; then
    // the active name itself.
    for (const std::wstring& refusing :
         {store_test::KeyPath(L"Hardware\\Toggles"), Profiles().ActiveKeyPath()}) {
        SCOPED_TRACE(Narrow(refusing));
        profile_test::LockOnFirstSectionWritten(refusing);
        EXPECT_EQ(transfer::kExitFailed, Run(transfer::Command::SwitchProfile, L"A"));
        store::SetSectionWrittenHook(nullptr);
        ASSERT_TRUE(profile_test::LockHappened());
        ASSERT_TRUE(store_test::AllowAll(refusing));
        EXPECT_EQ(storeOfB, DumpStore());
        EXPECT_EQ(L"B", Profiles().ActiveName());
    }
    ScriptedQuestions questions;
    profile_test::LockOnFirstSectionWritten(store_test::KeyPath(L"Hardware\\Toggles"));
    const transfer::SwitchResult failed = transfer::SwitchProfile(Profiles(), L"A", questions);
    store::SetSectionWrittenHook(nullptr);
    ASSERT_TRUE(store_test::AllowAll(store_test::KeyPath(L"Hardware\\Toggles")));
    EXPECT_EQ("The settings could not be written. The stored settings are as they were.", Narrow(failed.message));

    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"A"));
    EXPECT_EQ(L"A", Profiles().ActiveName());
}

TEST_F(TransferProfile, AProfileFileDeletedBehindTollansBackIsMissingAndMadeAgain) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    profile_test::StoreTwoPanels(0x10187, 200);
    ASSERT_TRUE(Profiles().Save(L"B").ok);
    const std::wstring storeOfB = DumpStore();
    ASSERT_TRUE(::DeleteFileW(Profiles().PathOf(L"B").c_str()));
    EXPECT_EQ(transfer::ActiveState::Missing, Profiles().CompareWithActive());
    EXPECT_EQ(std::vector<std::wstring>({L"A"}), Profiles().Names());

    // Asked as a change of the active profile; the command line makes its file again first.
    ScriptedQuestions cancel(CSwitchQuestions::kCancel);
    EXPECT_EQ(SwitchStatus::Cancelled, transfer::SwitchProfile(Profiles(), L"A", cancel).status);
    EXPECT_EQ(std::vector<std::wstring>({L"update B before A"}), cancel.asked);
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"A"));
    ASSERT_TRUE(Profiles().Exists(L"B"));
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"B"));
    EXPECT_EQ(storeOfB, DumpStore());

    // A profile picked after its file went is not there, and nothing changes.
    ASSERT_TRUE(::DeleteFileW(Profiles().PathOf(L"A").c_str()));
    ScriptedQuestions questions;
    const transfer::SwitchResult gone = transfer::SwitchProfile(Profiles(), L"A", questions);
    EXPECT_EQ(SwitchStatus::Failed, gone.status);
    EXPECT_EQ("There is no profile \"A\": the file " + Narrow(Profiles().PathOf(L"A")) + " is not there.",
              Narrow(gone.message));
    EXPECT_EQ(storeOfB, DumpStore());
}

TEST_F(TransferProfile, ADamagedActiveProfileIsNotOverwrittenBySwitching) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    ASSERT_TRUE(Profiles().Save(L"B").ok);
    const std::vector<unsigned char> broken = transfer_test::Utf16File(L"Windows Registry Editor Version 5.00\r\n"
                                                                       L"[HKEY_CURRENT_USER\\Sof");
    transfer_test::WriteBytes(Profiles().PathOf(L"B"), broken);
    const std::wstring before = DumpStore();

    EXPECT_EQ(transfer::kExitFailed, Run(transfer::Command::SwitchProfile, L"A"));
    ScriptedQuestions questions;
    const transfer::SwitchResult result = transfer::SwitchProfile(Profiles(), L"A", questions);
    EXPECT_EQ(SwitchStatus::Failed, result.status);
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(0u, result.message.find(L"The file " + Profiles().PathOf(L"B") + L" of the active profile cannot be used"))
        << Narrow(result.message);
    EXPECT_NE(std::wstring::npos, result.message.find(L"\nLine 2: "));
    EXPECT_EQ(broken, transfer_test::ReadBytes(Profiles().PathOf(L"B")));
    EXPECT_EQ(before, DumpStore());

    // Saving the profile again mends it.
    ASSERT_TRUE(Profiles().Save(L"B").ok);
    EXPECT_EQ(transfer::kExitOk, Run(transfer::Command::SwitchProfile, L"A"));
}

TEST_F(TransferProfile, TheFolderIsMadeWhenMissingAndAnEarlierFileReplacedOnlyWhenWhole) {
    profile_test::RemoveTree(AppData());
    EXPECT_TRUE(Profiles().Names().empty());
    EXPECT_EQ(transfer::kExitFailed, Run(transfer::Command::SaveProfile, L"Empty"));  // nothing stored
    EXPECT_EQ(0xFFFFFFFFu, ::GetFileAttributesW(Folder().c_str()));
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_EQ(transfer::kExitOk, Run(transfer::Command::SaveProfile, L"First"));
    EXPECT_TRUE(Profiles().Exists(L"First"));

    // A file that cannot be replaced (opened without sharing) keeps its content.
    const std::vector<unsigned char> first = transfer_test::ReadBytes(Profiles().PathOf(L"First"));
    profile_test::StoreTwoPanels(0x10187, 200);
    HANDLE held = ::CreateFileW(Profiles().PathOf(L"First").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const transfer::Outcome outcome = Profiles().Save(L"First");
    ::CloseHandle(held);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(first, transfer_test::ReadBytes(Profiles().PathOf(L"First")));
    EXPECT_EQ(std::vector<std::wstring>({L"First.reg"}), profile_test::FilesIn(Folder()));
}

TEST_F(TransferProfile, RenamingAndDeletingKeepTheActiveNameTrue) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"Other").ok);
    ASSERT_TRUE(Profiles().Save(L"A320").ok);
    const std::wstring before = DumpStore();

    EXPECT_TRUE(Profiles().Rename(L"A320", L"a320 cruise").ok);
    EXPECT_EQ(L"a320 cruise", Profiles().ActiveName());
    EXPECT_TRUE(Profiles().Rename(L"a320 cruise", L"A320 Cruise").ok);  // only the case
    EXPECT_EQ(std::vector<std::wstring>({L"A320 Cruise", L"Other"}), Profiles().Names());
    transfer::Outcome taken = Profiles().Rename(L"A320 Cruise", L"other");
    EXPECT_EQ("A profile named \"other\" exists already.", Narrow(taken.message));
    EXPECT_EQ("A profile name cannot end with a dot or a space.", Narrow(Profiles().Rename(L"Other", L"x.").message));
    EXPECT_TRUE(Profiles().Rename(L"Other", L"Spare").ok);
    EXPECT_EQ(L"A320 Cruise", Profiles().ActiveName());

    EXPECT_TRUE(Profiles().Delete(L"Spare").ok);
    EXPECT_EQ(L"A320 Cruise", Profiles().ActiveName());
    EXPECT_TRUE(Profiles().Delete(L"a320 CRUISE").ok);
    EXPECT_EQ(L"", Profiles().ActiveName());
    EXPECT_TRUE(Profiles().Names().empty());
    EXPECT_FALSE(Profiles().Delete(L"A320 Cruise").ok);
    EXPECT_EQ(before, DumpStore());
}

TEST_F(TransferProfile, AnActiveNameNoFileCanHaveIsNoActiveProfile) {
    profile_test::StoreTwoPanels(0x10022, 40);
    ASSERT_TRUE(Profiles().Save(L"A").ok);
    for (const wchar_t* hostile : {L"..\\..\\..\\Windows\\win", L"C:\\Windows\\x", L"CON", L"x:y"}) {
        ASSERT_EQ(ERROR_SUCCESS, Profiles().SetActiveName(hostile));
        EXPECT_EQ(L"", Profiles().ActiveName());
        EXPECT_EQ(transfer::ActiveState::None, Profiles().CompareWithActive());
    }
}

}  // namespace
