# Sources of ui/ are added here.
