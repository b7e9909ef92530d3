# Sources of bench/ are added here.
