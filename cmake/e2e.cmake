# End-to-end tests: filled in with the harness.
