#include "client/installation_id.h"

#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

TEST(InstallationId, FromTheMachineGuidAlwaysTheSamePositiveNumber) {
  // FNV-1a reference values: "" -> 0x811C9DC5, "a" -> 0xE40C292C, cut to 31 bits.
  EXPECT_EQ(PositiveId(""), 0x011C9DC5u);
  EXPECT_EQ(PositiveId("a"), 0x640C292Cu);
  MemoryFiles files;
  FakeIdentity identity;
  const std::uint32_t id = InstallationIdentifier(identity, files, "C:\\S\\");
  EXPECT_EQ(id, PositiveId(*identity.guid));
  EXPECT_EQ(InstallationIdentifier(identity, files, "D:\\other\\"), id);
  EXPECT_GT(id, 0u);
  EXPECT_LE(id, 0x7FFFFFFFu);
  identity.guid = "6f1c3a52-9d4e-4b7a-8c21-0e5f7d9b3a15";
  EXPECT_NE(InstallationIdentifier(identity, files, "C:\\S\\"), id);
  EXPECT_EQ(identity.draws, 0);
  EXPECT_TRUE(files.writes.empty());
}

TEST(InstallationId, WithoutAGuidOneIsDrawnOnceAndKeptBesideTheConfiguration) {
  MemoryFiles files;
  FakeIdentity identity;
  identity.guid.reset();
  identity.random = 0xFFFFFFFFu;  // cut to 31 bits
  EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 0x7FFFFFFFu);
  EXPECT_EQ(files.files.at("C:\\S\\Sentavo.uid"),
            (Bytes{'2', '1', '4', '7', '4', '8', '3', '6', '4', '7'}));
  identity.random = 5;
  EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 0x7FFFFFFFu);
  EXPECT_EQ(identity.draws, 1);

  identity.guid = "";  // an empty value is no GUID either
  EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 0x7FFFFFFFu);
}

TEST(InstallationId, AKeptFileThatHoldsNoIdentifierIsReplacedButAnUnreadableOneIsNot) {
  MemoryFiles files;
  FakeIdentity identity;
  identity.guid.reset();
  identity.random = 0x80000000u;  // its low 31 bits are 0: never an identifier
  for (const std::string& bad :
       std::vector<std::string>{"", "0", "abc", "12x", "2147483648", "-5"}) {
    files.files["C:\\S\\Sentavo.uid"] = Bytes(bad.begin(), bad.end());
    EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 1u) << bad;
    EXPECT_EQ(files.files["C:\\S\\Sentavo.uid"], (Bytes{'1'}));
  }
  files.files["C:\\S\\Sentavo.uid"] = {'4', '2', '\r', '\n'};
  EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 42u);

  files.heldOpen.insert("C:\\S\\Sentavo.uid");
  files.writes.clear();
  EXPECT_EQ(InstallationIdentifier(identity, files, "C:\\S\\"), 1u);
  EXPECT_TRUE(files.writes.empty());
}

}  // namespace
}  // namespace sentavo::client::test
