"""Shared helpers of the content generators: a fixed pseudo-random sequence and
exact-size padding, so that every run writes the same bytes."""

import os

CONTENT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "..", "resources", "content"))

SPONSOR = "Fenmoor"
SPONSOR_ADDRESS = "http://www.fenmoor.example/"
AUTHOR = "Tamati Rewiri"


class Lcg:
    """A small linear congruential generator: the same numbers on every Python."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return self.state >> 33

    def below(self, n):
        return self.next() % n

    def choice(self, items):
        return items[self.below(len(items))]


def write(name, data):
    os.makedirs(CONTENT, exist_ok=True)
    with open(os.path.join(CONTENT, name), "wb") as f:
        f.write(data)
    print("%-18s %7d bytes" % (name, len(data)))
