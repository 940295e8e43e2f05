#!/usr/bin/env python3
"""Usage: write-frame.py TAR MANIFEST TAR_ZST OUTPUT

Writes the frame of a portable book's runtime (archive/RuntimeFrame.h): the magic, the size of
the zstd stream, the runtime's id (SHA-256 of the tar stream), the CRC-32 of its manifest, then
the zstd stream."""
import hashlib
import struct
import sys
import zlib

tar, manifest, packed, output = sys.argv[1:5]
digest = hashlib.sha256()
with open(tar, "rb") as f:
    for block in iter(lambda: f.read(1 << 20), b""):
        digest.update(block)
with open(manifest, "rb") as f:
    check = "%08x" % (zlib.crc32(f.read()) & 0xFFFFFFFF)
with open(packed, "rb") as f:
    body = f.read()
header = b"QRLRUNT1" + struct.pack("<Q", len(body)) + digest.hexdigest().encode() + check.encode()
header += b"\0" * (96 - len(header))
assert len(header) == 96
with open(output + ".tmp", "wb") as f:
    f.write(header)
    f.write(body)
import os
os.replace(output + ".tmp", output)
