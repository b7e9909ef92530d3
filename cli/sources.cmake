# Sources of cli/ are added here.
