// online_account: who the player is on the level hub. The token is a secret
// the game makes on first use from the system's random source and keeps in
// "hub-token" beside the player's settings.ini (never in the shipped
// settings), readable by the player alone from its first byte; the hub keeps
// only its hash. The name the player chose is kept in "hub-name" beside it
// once the hub has taken it. Both files are saved whole or not at all.
// A token file that cannot be read or holds no token, or a name kept without
// its token, is never replaced unasked: the hub knows the name by the lost
// token alone, so nothing is sent until the player registers anew.
//   HubToken, HubName             "" until made or chosen
//   HubTokenLost                  the kept name's token cannot be read
//   LoadHubAccount()              reads both files (at start-up)
//   EnsureHubToken()              makes and saves the token when there is none
//   NeedHubName()                 the token made when missing; true while there is no name
//   KeepHubName(name)             the hub took name: kept and saved
//   RenewHubAccount()             a lost token given up: a new token, and no name until one is chosen
#pragma once

const int HubTokenChars = 43;      // 32 random bytes in URL-safe base64, no padding
const int HubNameSize = 25;        // the hub's 24 characters and a terminator

extern char HubToken[HubTokenChars + 1];
extern char HubName[HubNameSize];
extern bool HubTokenLost;

void LoadHubAccount();

// True when HubToken holds a token (made now if needed; a token that could
// not be saved is still used this session); false while HubTokenLost.
bool EnsureHubToken();

// EnsureHubToken, then true when the player has no name on the hub yet.
bool NeedHubName();

// False when the name file could not be written (the name stands this session).
bool KeepHubName(const char* name);

// The unreadable token file is kept aside as "hub-token.lost", the name
// file removed, and a new token made and saved; false when it could not be
// saved (it is still used this session).
bool RenewHubAccount();
