#!/usr/bin/env python3
"""Live heap blocks of a program from a Wine heap trace (WINEDEBUG=trace+heap), per heap: the
bytes live when line MARK was written and at the end of the trace, and the blocks allocated
after the mark that are still live, grouped by size. Shows what a soak run really keeps
(scripts/soak.sh with KV_SOAK_HEAP_TRACE=1).

    heap_live.py <trace> <mark line>

The trace holds the lines of every process started with the program's standard error (its
helpers too). The program's threads are the busiest thread and those that never create a
process heap (each new process creates one first). Heaps are named in the order the program
creates them: under Wine the first is the process heap (system libraries: windows, controls,
shell) and the second the C runtime's (the program's own new and malloc). Blocks kept by other
threads than the main one are the catalogue the background refresh built last."""
import collections
import re
import sys

ALLOC = re.compile(r'^(\w{4}):trace:heap:RtlAllocateHeap handle (\w+), flags \w+, size 0x(\w+), return (\w+), status 0')
FREE = re.compile(r'^(\w{4}):trace:heap:RtlFreeHeap handle (\w+), flags \w+, ptr (\w+), return 1')
REALLOC = re.compile(
    r'^(\w{4}):trace:heap:RtlReAllocateHeap handle (\w+), flags \w+, ptr (\w+), size 0x(\w+), return (\w+), status 0')
CREATE_PROCESS_HEAP = 'trace:heap:RtlCreateHeap flags 0x2,'


def program_threads(path):
    """The program's threads and its main (busiest) thread."""
    lines = collections.Counter()
    creators = set()
    for line in open(path, errors='replace'):
        thread = line[:4]
        lines[thread] += 1
        if CREATE_PROCESS_HEAP in line:
            creators.add(thread)
    if not lines:
        return set(), ''
    busiest = lines.most_common(1)[0][0]
    return {t for t in lines if re.fullmatch(r'[0-9a-f]{4}', t) and (t == busiest or t not in creators)}, busiest


def main():
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        sys.exit(__doc__)
    path, mark = sys.argv[1], int(sys.argv[2])
    threads, main_thread = program_threads(path)
    live = {}  # (heap, address) -> (size, line, thread)
    heaps = []  # in order of first use by the program
    at_mark = collections.Counter()
    for number, line in enumerate(open(path, errors='replace'), 1):
        if number == mark:
            for (heap, _), (size, _, _) in live.items():
                at_mark[heap] += size
        if line[:4] not in threads:
            continue
        if m := ALLOC.match(line):
            live[(m[2], m[4])] = (int(m[3], 16), number, line[:4])
        elif m := FREE.match(line):
            live.pop((m[2], m[3]), None)
        elif m := REALLOC.match(line):
            live.pop((m[2], m[3]), None)
            live[(m[2], m[5])] = (int(m[4], 16), number, line[:4])
        else:
            continue
        if m[2] not in heaps:
            heaps.append(m[2])
    at_end = collections.Counter()
    kept = collections.defaultdict(collections.Counter)  # heap -> size -> blocks
    kept_by_main = collections.Counter()  # heap -> bytes allocated by the main thread
    for (heap, _), (size, number, thread) in live.items():
        at_end[heap] += size
        if number > mark:
            kept[heap][size] += 1
            kept_by_main[heap] += size if thread == main_thread else 0
    print('heap\tlive at mark\tlive at end\tgrowth\tkept by the main thread (bytes)\t'
          'blocks allocated after the mark and still live (size x count)')
    for index, heap in enumerate(heaps, 1):
        sizes = ', '.join(f'{size} x {count}' for size, count in kept[heap].most_common(6))
        print(f'{index} ({heap})\t{at_mark[heap]}\t{at_end[heap]}\t{at_end[heap] - at_mark[heap]:+d}\t'
              f'{kept_by_main[heap]}\t{sizes}')


if __name__ == '__main__':
    main()
