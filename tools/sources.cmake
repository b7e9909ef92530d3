# Sources of tools/ are added here.
