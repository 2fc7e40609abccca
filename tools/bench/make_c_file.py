#!/usr/bin/env python3
"""Writes a C source file of about SIZE megabytes (default 100) for the
benchmarks: realistic code with comments, strings, numbers and Korean
comments in CP949, about 37 bytes per line. Usage: make_c_file.py OUT [SIZE_MB]"""
import random
import sys

out = sys.argv[1]
size = int(float(sys.argv[2]) * 1000 * 1000) if len(sys.argv) > 2 else 100 * 1000 * 1000
random.seed(1)
korean = "/* 한글 주석: 버퍼를 비운다 */".encode("cp949")
blocks = [
    b"#include <stdio.h>\n#include <string.h>\n\n",
    b"/* Copies at most n bytes of the source buffer into the destination\n * buffer and always terminates the destination with a zero byte. */\n",
    b"static int copy_string_checked_%d(char *destination, const char *source, size_t count)\n{\n",
    b"    size_t index = 0;\n    if (count == 0 || destination == NULL || source == NULL)\n        return -1; /* nothing to do */\n",
    b"    while (index + 1 < count && source[index] != '\\0') {\n        destination[index] = source[index];\n        index++;\n    }\n",
    b"    destination[index] = 0; // terminate the copied string here\n    printf(\"copied %%zu bytes into the buffer\\n\", index);\n",
    b"    " + korean + b"\n    return (int)i * 0x1F + 3.5e2;\n}\n\n",
]
written = 0
n = 0
with open(out, "wb") as f:
    while written < size:
        for b in blocks:
            chunk = b % n if b"%d" in b else b.replace(b"%%", b"%")
            f.write(chunk)
            written += len(chunk)
        n += 1
