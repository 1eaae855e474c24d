#!/usr/bin/env python3
"""Writes the formula library shipped beside the program: a SQLite file with
table `records` and one candidate per row in the text column "定位公式".

The candidates are formulas in the program's own language, three letters
from A to E (digits of the base draw), an operator sign and three digits,
for example DCC*657. The list is the same on every run: a fixed linear
congruential generator picks the digits and the order, so no library
version or seed of Python's random module can change the file's records.

usage: make_formula_library.py OUTPUT [COUNT]
"""

import itertools
import os
import sqlite3
import sys

LETTERS = "ABCDE"
OPERATORS = "*+-"
DIGIT_SETS_PER_SHAPE = 16


class Lcg:
    """Numerical Recipes' 32-bit generator: small, fixed and portable."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def below(self, bound):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) % bound


def candidates(count):
    lcg = Lcg(20140301)
    formulas = []
    seen = set()
    for letters in itertools.product(LETTERS, repeat=3):
        for operator in OPERATORS:
            made = 0
            while made < DIGIT_SETS_PER_SHAPE:
                digits = "%03d" % lcg.below(1000)
                formula = "".join(letters) + operator + digits
                if formula in seen:
                    continue
                seen.add(formula)
                formulas.append(formula)
                made += 1
    # Mix the shapes so that the first few hundred, the default search size,
    # already cover every letter pattern.
    for i in range(len(formulas) - 1, 0, -1):
        j = lcg.below(i + 1)
        formulas[i], formulas[j] = formulas[j], formulas[i]
    return formulas[:count]


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    output = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) == 3 else 6000
    limit = len(LETTERS) ** 3 * len(OPERATORS) * DIGIT_SETS_PER_SHAPE
    if not 1 <= count <= limit:
        sys.exit("COUNT must be between 1 and %d" % limit)

    # Build beside the target and rename, so a reader never sees half a file.
    temporary = output + ".tmp"
    if os.path.exists(temporary):
        os.remove(temporary)
    db = sqlite3.connect(temporary)
    db.execute('CREATE TABLE records ("定位公式" TEXT)')
    db.executemany("INSERT INTO records VALUES (?)", ((f,) for f in candidates(count)))
    db.commit()
    db.close()
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
