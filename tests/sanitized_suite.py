#!/usr/bin/env python3
"""Writes the sanitized tree's tests (label "sanitize") as a ctest file that the plain tree's
suite includes, so that both run in one ctest: the locks that keep busy and timed tests apart
hold across both, and the sanitized tests fill the time the plain ones leave. Each is named
sanitized_NAME, runs NAME in its tree through ctest there (its tree may not be built yet when
this runs), shares its locks, processors, cost and time limit, and needs the fixture
sanitized_build, a test that waits for the tree's build (run-tests.sh writes its exit status to
ASAN_BUILD/build.status) and builds what is left of it when that failed.

Usage: sanitized_suite.py ASAN_BUILD OUT_FILE"""
import json
import subprocess
import sys

SANITIZER_ENVIRONMENT = ["ASAN_OPTIONS=detect_leaks=0", "UBSAN_OPTIONS=print_stacktrace=1"]
SCHEDULING = ("RESOURCE_LOCK", "PROCESSORS", "COST", "TIMEOUT", "LABELS")


def quote(text):
    for a, b in (("\\", "\\\\"), ('"', '\\"'), ("$", "\\$")):
        text = text.replace(a, b)
    return '"' + text + '"'


def value(v):
    if isinstance(v, list):
        return '"' + ";".join(quote(str(item))[1:-1].replace(";", "\\;") for item in v) + '"'
    if isinstance(v, float) and v.is_integer():
        v = int(v)
    return quote(str(v))


def test(name, command, properties):
    lines = ["add_test(%s %s)" % (name, " ".join(quote(arg) for arg in command))]
    pairs = " ".join("%s %s" % (key, value(v)) for key, v in properties.items())
    lines.append("set_tests_properties(%s PROPERTIES %s)" % (name, pairs))
    return "\n".join(lines)


def main():
    tree, out = sys.argv[1], sys.argv[2]
    shown = subprocess.run(["ctest", "--show-only=json-v1", "-L", "sanitize"], cwd=tree,
                           check=True, capture_output=True, text=True).stdout
    tests = json.loads(shown)["tests"]
    if not tests:
        sys.exit("no sanitized tests in " + tree)
    wait = ('until [ -e "$1/build.status" ]; do sleep 1; done; '
            '[ "$(cat "$1/build.status")" = 0 ] || cmake --build "$1" -j2')
    blocks = [test("sanitized_build", ["bash", "-c", wait, "sanitized_build", tree],
                   {"FIXTURES_SETUP": "sanitized_build", "TIMEOUT": 1800, "PROCESSORS": 1})]
    for t in tests:
        properties = {p["name"]: p["value"] for p in t.get("properties", [])}
        if "FIXTURES_REQUIRED" in properties or "FIXTURES_SETUP" in properties:
            sys.exit(t["name"] + ": a sanitized test with fixtures of its own")
        outer = {key: properties[key] for key in SCHEDULING if key in properties}
        outer["ENVIRONMENT"] = SANITIZER_ENVIRONMENT
        outer["FIXTURES_REQUIRED"] = "sanitized_build"
        command = ["ctest", "--test-dir", tree, "-R", "^%s$" % t["name"], "--no-tests=error",
                   "--output-on-failure"]
        blocks.append(test("sanitized_" + t["name"], command, outer))
    with open(out, "w") as f:
        f.write("\n".join(blocks) + "\n")


if __name__ == "__main__":
    main()
