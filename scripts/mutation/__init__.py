"""The parts of scripts/mutate, the mutation-testing tool."""
