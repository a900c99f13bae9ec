#!/usr/bin/env python3
"""Lists a PE file's machine and its resources: `pe_resources.py FILE` prints
"machine i386|x86-64" and one line "TYPE NAME SIZE" per resource (named types
and names as text, numbered ones as numbers). With `--dump TYPE NAME OUT` it
writes that resource's bytes to OUT."""
import struct
import sys

MACHINES = {0x14C: "i386", 0x8664: "x86-64"}


def parse(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    machine, nsect, _, _, _, optsize, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    dd = opt + (96 if magic == 0x10B else 112)
    rva, size = struct.unpack_from("<II", data, dd + 2 * 8)
    sections = []
    sh = opt + optsize
    for i in range(nsect):
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, sh + i * 40 + 8)
        sections.append((vaddr, max(vsize, rawsize), rawptr))

    def off(r):
        for vaddr, vsize, rawptr in sections:
            if vaddr <= r < vaddr + vsize:
                return r - vaddr + rawptr
        raise ValueError("rva outside sections")

    if rva == 0 or size == 0:
        return MACHINES.get(machine, hex(machine)), []
    base = off(rva)

    def name_of(entry):
        if entry & 0x80000000:
            p = base + (entry & 0x7FFFFFFF)
            n = struct.unpack_from("<H", data, p)[0]
            return data[p + 2:p + 2 + 2 * n].decode("utf-16-le")
        return entry

    def entries(p):
        _, _, _, _, named, ids = struct.unpack_from("<IIHHHH", data, p)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, p + 16 + i * 8)

    out = []
    for tname, tptr in entries(base):
        for nname, nptr in entries(base + (tptr & 0x7FFFFFFF)):
            for _, lptr in entries(base + (nptr & 0x7FFFFFFF)):
                drva, dsize = struct.unpack_from("<II", data, base + lptr)
                out.append((name_of(tname), name_of(nname), data[off(drva):off(drva) + dsize]))
    return MACHINES.get(machine, hex(machine)), out


def main():
    machine, res = parse(sys.argv[1])
    if len(sys.argv) > 2 and sys.argv[2] == "--dump":
        t, n, target = sys.argv[3], sys.argv[4], sys.argv[5]
        for rt, rn, blob in res:
            if str(rt) == t and str(rn) == n:
                open(target, "wb").write(blob)
                return 0
        return 1
    print("machine", machine)
    for rt, rn, blob in res:
        print(rt, rn, len(blob))
    return 0


if __name__ == "__main__":
    sys.exit(main())
