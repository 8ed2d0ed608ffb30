#!/usr/bin/env python3
"""Prints facts about a Windows executable that the artifact test checks: machine, subsystem,
imported DLLs, resource types and ids, the file version of the version resource, and the texts
of the string table ("string <id> <text>", UTF-8), which the shown-names test checks.
Reads the PE headers and resource tree with bounds checks; prints 'error' on a malformed file."""
import struct
import sys

RESOURCE_NAMES = {3: "icon", 14: "group_icon", 16: "version", 24: "manifest"}


def u16(data, offset):
    return struct.unpack_from("<H", data, offset)[0]


def u32(data, offset):
    return struct.unpack_from("<I", data, offset)[0]


def sections(data, pe):
    count = u16(data, pe + 6)
    optional_size = u16(data, pe + 20)
    table = pe + 24 + optional_size
    for i in range(count):
        s = table + 40 * i
        yield u32(data, s + 12), u32(data, s + 8), u32(data, s + 20)  # rva, size, raw offset


def rva_to_offset(data, pe, rva):
    for start, size, raw in sections(data, pe):
        if start <= rva < start + max(size, 1):
            return raw + rva - start
    raise ValueError("rva outside sections")


def imports(data, pe, directory):
    rva = u32(data, directory + 8)
    names = []
    if not rva:
        return names
    offset = rva_to_offset(data, pe, rva)
    while u32(data, offset + 12):
        name_offset = rva_to_offset(data, pe, u32(data, offset + 12))
        names.append(data[name_offset:data.index(b"\0", name_offset)].decode("ascii").lower())
        offset += 20
    return names


def resources(data, pe, directory):
    rva = u32(data, directory + 16)
    if not rva:
        return {}, None
    base = rva_to_offset(data, pe, rva)
    found, version, strings = {}, None, {}

    def entries(offset):
        named, ids = u16(data, offset + 12), u16(data, offset + 14)
        for i in range(named + ids):
            e = offset + 16 + 8 * i
            yield u32(data, e) & 0x7FFFFFFF, u32(data, e + 4)

    for type_id, type_link in entries(base):
        for res_id, id_link in entries(base + (type_link & 0x7FFFFFFF)):
            found.setdefault(RESOURCE_NAMES.get(type_id, str(type_id)), []).append(res_id)
            if type_id == 16:
                _, leaf = next(entries(base + (id_link & 0x7FFFFFFF)))
                leaf_offset = base + leaf
                data_offset = rva_to_offset(data, pe, u32(data, leaf_offset))
                signature = data.find(struct.pack("<I", 0xFEEF04BD), data_offset)
                ms, ls = u32(data, signature + 8), u32(data, signature + 12)
                version = "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
            if type_id == 6:
                _, leaf = next(entries(base + (id_link & 0x7FFFFFFF)))
                strings.update(string_block(data, pe, base + leaf, res_id))
    return found, version, strings


def string_block(data, pe, leaf_offset, block_id):
    """Block n holds the strings (n - 1) * 16 .. n * 16 - 1, each a length and UTF-16 text."""
    offset = rva_to_offset(data, pe, u32(data, leaf_offset))
    end = offset + u32(data, leaf_offset + 4)
    for index in range(16):
        length = u16(data, offset)
        text = data[offset + 2:offset + 2 + 2 * length]
        offset += 2 + 2 * length
        if offset > end:
            raise ValueError("string block overruns its resource")
        if length:
            yield (block_id - 1) * 16 + index, text.decode("utf-16-le")


def main(path):
    data = open(path, "rb").read()
    pe = u32(data, 0x3C)
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine = {0x14C: "i386", 0x8664: "x86_64"}.get(u16(data, pe + 4), "other")
    optional = pe + 24
    magic = u16(data, optional)
    subsystem = {2: "gui", 3: "console"}.get(u16(data, optional + 68), "other")
    directories = optional + (96 if magic == 0x10B else 112)
    print("machine", machine)
    print("subsystem", subsystem)
    print("imports", " ".join(sorted(imports(data, pe, directories))))
    found, version, strings = resources(data, pe, directories)
    for kind in sorted(found):
        print("resource", kind, " ".join(str(i) for i in sorted(found[kind])))
    print("version", version or "none")
    for number in sorted(strings):
        print("string", number, strings[number])


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except (ValueError, struct.error, OSError, IndexError, UnicodeDecodeError) as error:
        print("error", error)
        sys.exit(1)
