#!/usr/bin/python3
"""Stands in for the web browser in the end-to-end tests: registered as the
handler of http addresses in the test's Wine prefix, it appends each
address it is asked to open to the file named by its first argument."""
import sys

with open(sys.argv[1], "a", encoding="utf-8") as log:
    log.write(" ".join(sys.argv[2:]) + "\n")
