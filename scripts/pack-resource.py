#!/usr/bin/env python3
"""Packs a file for embedding in the installer, or unpacks one.

A packed file is the four bytes "DSZ" 0x01, the unpacked size as a 32-bit
little-endian number, and the bytes as one zlib stream (RFC 1950, with its
Adler-32 check). The installer unpacks it with zlib and refuses anything
else (installer/PackedData.cpp).

Usage: pack-resource.py IN OUT            pack
       pack-resource.py --unpack IN OUT   unpack (for the checks)
"""
import struct
import sys
import zlib

MAGIC = b"DSZ\x01"


def pack(data: bytes) -> bytes:
    return MAGIC + struct.pack("<I", len(data)) + zlib.compress(data, 9)


def unpack(packed: bytes) -> bytes:
    if packed[:4] != MAGIC or len(packed) < 8:
        raise ValueError("not a packed file")
    (size,) = struct.unpack("<I", packed[4:8])
    d = zlib.decompressobj()
    data = d.decompress(packed[8:]) + d.flush()
    if not d.eof or d.unused_data or len(data) != size:
        raise ValueError("damaged packed file")
    return data


def main(argv):
    if len(argv) == 4 and argv[1] == "--unpack":
        src, dst, fn = argv[2], argv[3], unpack
    elif len(argv) == 3:
        src, dst, fn = argv[1], argv[2], pack
    else:
        sys.stderr.write(__doc__)
        return 2
    with open(src, "rb") as f:
        out = fn(f.read())
    with open(dst, "wb") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
