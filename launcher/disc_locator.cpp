// Finds the drive that holds a game disc by the identification file below its root.
#include "launcher/disc_locator.h"

#include "facts/menu_facts.h"

// The defaults are placeholders that no search here uses: FindGameDisc sets the real path and
// text before every search. They stay as the class has always had them (the path with a leading
// backslash and "program_files"), so that a locator left unset finds nothing on a real disc
// rather than the wrong one.
DiscLocator::DiscLocator()
    : m_flags(CdromDrivesOnly), m_idFilePath("\\program_files\\harrowlight\\kelvaro\\KWRFILEID"),
      m_idText("ProductName DISK1") {}

HRESULT DiscLocator::Locate(ByteString& root) {
  bool found = false;
  for (size_t i = 0; i < m_candidateRoots.Count() && !found; ++i)
    found = CheckRoot(m_candidateRoots[i], root);

  if (!(m_flags & (ScanAllDrives | CdromDrivesOnly))) return found ? S_OK : E_FAIL;

  // Asked even when a candidate matched: the walk below simply does not run then.
  DWORD mask = os::GetLogicalDrives();
  if (mask == 0 && os::GetLastError() != 0) return E_FAIL;

  char drive[] = "A:\\";
  for (int letter = 25; letter >= 0 && !found; --letter) {
    if (!(mask & (1u << letter))) continue;
    drive[0] = static_cast<char>('A' + letter);
    found = CheckRoot(ByteString(drive), root);
  }
  return found ? S_OK : E_FAIL;
}

bool DiscLocator::CheckRoot(const ByteString& root, ByteString& found) {
  if (m_flags & CdromDrivesOnly) {
    // Only CD-ROM drives are opened: an empty floppy or a network drive is never touched.
    if (root.Length() < 2 || root[1] != ':') return false;
    if (os::GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return false;
  }

  size_t length = m_idText.Length();
  char* bytes = static_cast<char*>(os::malloc(length ? length : 1));
  if (!bytes) return false;

  bool match = false;
  ByteString path = root + m_idFilePath;
  if (os::FILE* file = os::fopen(path.c_str(), "rb")) {
    match =
        os::fread(bytes, 1, length, file) == length && memcmp(bytes, m_idText.c_str(), length) == 0;
    os::fclose(file);
  }
  os::free(bytes);

  if (match) found = root;
  return match;
}

int FindGameDisc(int discNumber, char* buffer) {
  DiscLocator locator;
  ByteString root;

  char idText[256];
  os::sprintf(idText, FACT_DISC_ID_PREFIX "%i", discNumber);
  locator.SetIdText(idText);
  locator.SetIdFilePath("program files\\harrowlight\\kelvaro\\KWRFILEID");
  locator.SetFlags(DiscLocator::CdromDrivesOnly);

  if (FAILED(locator.Locate(root))) return 0;
  os::sprintf(buffer, "%sprogram files\\harrowlight\\kelvaro\\", root.c_str());
  return 1;
}
