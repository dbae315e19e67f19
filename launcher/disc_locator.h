// Finds the drive that holds a game disc by the identification file below its root.
#pragma once

#include "base/bytestring.h"
#include "platform/win32.h"

class DiscLocator {
public:
  enum Flags { ScanAllDrives = 1, CdromDrivesOnly = 2 };

  DiscLocator();

  void SetFlags(int flags) { m_flags = flags; }
  void SetIdFilePath(const ByteString& path) { m_idFilePath = path; }
  void SetIdText(const ByteString& text) { m_idText = text; }
  // Roots tried before the drive walk, in the order added.
  void AddCandidateRoot(const ByteString& root) { m_candidateRoots.Add(root); }

  // S_OK with the first matching root in `root`; E_FAIL, `root` untouched, when none matches.
  HRESULT Locate(ByteString& root);
  // Whether `root` holds the disc; `found` becomes a copy of it when it does.
  bool CheckRoot(const ByteString& root, ByteString& found);

private:
  StringList m_candidateRoots;
  int m_flags;
  ByteString m_idFilePath;
  ByteString m_idText;
};

// Looks for disc `discNumber` of the game. On success writes the disc folder's path (the root
// plus "program files\harrowlight\kelvaro\", 38 bytes for a drive root) into `buffer` and
// returns 1; otherwise returns 0 and leaves `buffer` untouched.
int FindGameDisc(int discNumber, char* buffer);
