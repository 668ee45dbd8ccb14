// sha256: the SHA-256 digest (FIPS 180-4) in the game layer, which links no
// library, so the game names levels exactly as the hub does.
//   Sha256DigestBytes     bytes of a digest
//   Sha256(bytes, n, out) the digest of n bytes
#pragma once

#include <cstddef>

const int Sha256DigestBytes = 32;

void Sha256(const unsigned char* bytes, size_t n, unsigned char out[Sha256DigestBytes]);
