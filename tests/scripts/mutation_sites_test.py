"""Which edits the mutation tool finds in C++ code, and which it must not make."""

import textwrap
import unittest

from mutation.sites import find_sites


def mutants(code):
    """[(operator, mutated line stripped)] of a snippet, in source order."""
    text = textwrap.dedent(code)
    lines = text.split("\n")
    return [(s.operator, s.apply(lines[s.line]).strip()) for s in find_sites(text)[0]]


def edits(code, operator):
    return sorted(m for op, m in mutants(code) if op == operator)


def operators(code):
    return sorted({op for op, _ in mutants(code)})


class OperatorFlips(unittest.TestCase):
    def test_each_binary_operator_flips_to_its_partner(self):
        found = mutants("""
            void F() {
              a = b < c;
              a = b >= c;
              a = b != c;
              a = b + c;
              a = b - c;
              a = b || c;
            }
        """)
        for line in ("a = b <= c;", "a = b > c;", "a = b == c;", "a = b - c;", "a = b + c;",
                     "a = b && c;"):
            self.assertTrue(any(m == line for _, m in found), line)

    def test_operators_outside_code_are_left_alone(self):
        self.assertEqual(operators("""
            #include <vector>
            #define LESS(a, b) ((a) < (b))
            // a < b and a == b in a comment
            /* a + b
               c - d */
            const char* s = "a < b == c";
            const char c = '+';
            const char* r = R"(x < y)";
        """), [])

    def test_look_alikes_of_operators_are_left_alone(self):
        self.assertEqual(operators("""
            std::vector<int> v;
            auto n = static_cast<int>(x);
            template <typename T> struct Box {};
            bool operator<(const A& a, const A& b);
            void G(Foo&& f) {
              ++i;
              --j;
              p->next;
              out << x;
              y = x >> 2;
              y = -x;
              y = a * -b;
              d = 1e-5;
              e = 2.5E+3;
            }
        """), [])

    def test_a_minus_beside_a_string_is_not_tried(self):
        self.assertEqual(operators('s = "a" + name + "b";'), [])


class Literals(unittest.TestCase):
    def test_zero_one_true_false_swap_keeping_suffixes(self):
        found = mutants("""
            x = 0;
            y = 1u;
            z = 1.0;
            w = 0.0f;
            ok = true;
            bad = false;
            big = 10;
        """)
        self.assertEqual({m for _, m in found}, {
            "x = 1;", "y = 0u;", "z = 0.0;", "w = 1.0f;", "ok = false;", "bad = true;"})

    def test_a_pure_specifier_is_not_a_literal(self):
        self.assertEqual(operators("struct S { virtual void F() const = 0; };"), [])


class Statements(unittest.TestCase):
    def test_a_call_statement_alone_on_its_line_is_dropped(self):
        self.assertEqual(edits("""
            void F() {
              Reset();
              list.clear();
              ns::Log(a->b, c.d());
              if (ready)
                out_->flush();
            }
        """, "drop-call"), [";"] * 4)

    def test_declarations_returns_and_shared_lines_are_not_calls(self):
        self.assertNotIn("drop-call", operators("""
            struct Widget {
              Widget(int size);
              void Draw();
            };
            void Widget::Draw() {
              Widget copy(size);
              std::lock_guard<std::mutex> hold(lock);
              auto n = Count(x);
              return Flush(x);
              if (x) Flush(x);
              assert(Valid(x));
              Flush(a,
                    b);
            }
        """))

    def test_boolean_returns_are_negated_others_not(self):
        negated = edits("""
            bool A() { return a < b; }
            bool B() { return !done; }
            bool C() { return x.empty(); }
            bool D() { return IsBlank(c); }
            int E() { return count; }
            int F() { return a < b ? a : b; }
            int G() { return Compute(x); }
            int K() { return Cancel(x); }
            bool H() { return true; }
        """, "negate-return")
        self.assertEqual(negated, [
            "bool A() { return !(a < b); }", "bool B() { return !(!done); }",
            "bool C() { return !(x.empty()); }", "bool D() { return !(IsBlank(c)); }"])


class ArgumentsAndIndexes(unittest.TestCase):
    def test_adjacent_arguments_of_one_kind_swap(self):
        self.assertEqual(edits("""
            void F() {
              Copy(from, to, 3, 4, "s");
              Mix(a, 1);
              Same(a, a);
              Pair(v.x, w);
            }
        """, "swap-arguments"), ['Copy(from, to, 4, 3, "s");', 'Copy(to, from, 3, 4, "s");'])

    def test_an_index_shifts_by_one(self):
        self.assertEqual(edits("""
            void F() {
              x = a[i];
              y = b[j - 1];
              z = c[k << 1];
              w = rows[u][v];
            }
        """, "shift-index"), ["w = rows[u + 1][v];", "w = rows[u][v + 1];", "x = a[i + 1];",
                                   "y = b[j];", "z = c[(k << 1) + 1];"])

    def test_brackets_that_are_not_indexes_are_left_alone(self):
        self.assertNotIn("shift-index", operators("""
            void F() {
              double buffer[kSize];
              unsigned char b[4];
              auto p = new double[n];
              delete[] p;
              auto f = [&](int v) { return v; };
              auto [first, second] = Pair();
            }
            [[nodiscard]] int G();
        """))


class Weight(unittest.TestCase):
    def test_only_lines_with_code_count(self):
        _, weight = find_sites(textwrap.dedent("""
            // a comment

            /* a block
               comment */
            #include <x>
            int a = 0;  // trailing comment
        """))
        self.assertEqual(weight, 2)


if __name__ == "__main__":
    unittest.main()
