"""End-to-end tests of Keyvora against hostile input and a failing world: malformed and huge script
files, targets that die or hang, a taken hotkey, files that cannot be written, a close during a run."""
