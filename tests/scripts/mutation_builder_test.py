"""How the mutation tool reads the CTest list and ninja's dependency graph."""

import unittest

from mutation.builder import shared_libraries, units_from_listing


class TestListing(unittest.TestCase):
    def test_discovered_cases_of_one_executable_run_as_one_unit(self):
        def case(name, exe="/b/t/x_test", *extra):
            return {"name": name, "command": [exe, f"--gtest_filter={name}", "--also"],
                    "properties": [{"name": "WORKING_DIRECTORY", "value": "/b/t"}, *extra]}
        listing = {"tests": [
            case("A.one"), case("A.two"), case("B.one", "/b/t/y_test"),
            case("A.broken", "/b/t/x_test", {"name": "WILL_FAIL", "value": True}),
            {"name": "Script", "command": ["/usr/bin/cmake", "-DTOOL=/b/tool", "-P", "s.cmake"],
             "properties": [{"name": "ENVIRONMENT", "value": ["K=v=w"]},
                            {"name": "WILL_FAIL", "value": True}]},
            {"name": "Off", "command": ["/b/off"], "properties": [{"name": "DISABLED", "value": True}]},
            {"name": "x_NOT_BUILT", "properties": []},
        ]}
        units = units_from_listing(listing, "/b")
        self.assertEqual([(u.name, u.argv()) for u in units], [
            ("x_test", ["/b/t/x_test", "--also", "--gtest_filter=A.one:A.two"]),
            ("y_test", ["/b/t/y_test", "--also", "--gtest_filter=B.one"]),
            ("A.broken", ["/b/t/x_test", "--gtest_filter=A.broken", "--also"]),
            ("Script", ["/usr/bin/cmake", "-DTOOL=/b/tool", "-P", "s.cmake"]),
        ])
        self.assertEqual((units[3].environment, units[3].will_fail, units[3].cwd),
                         ({"K": "v=w"}, True, "/b"))

    def test_the_shared_libraries_of_the_build_among_a_targets_inputs(self):
        query = "\n".join([
            "tests/t:",
            "  input: LINK",
            "    tests/t.o",
            "    | lib/libone.so",
            "    | /usr/lib/libgtest.a",
            "    | /usr/lib/libsystem.so",
            "    || lib/libone.so",
            "    || lib/libtwo.so.1",
            "  outputs:",
            "    lib/libthree.so",
            "tool:",
            "  input: LINK",
            "    tool.o",
        ])
        self.assertEqual(shared_libraries(query),
                         {"tests/t": ["lib/libone.so", "lib/libtwo.so.1"], "tool": []})


if __name__ == "__main__":
    unittest.main()
