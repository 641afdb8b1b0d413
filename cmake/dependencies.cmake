# Libraries the subsystems link against. Each subsystem that brings a new
# library adds it here.
