# Sources of settings/ are added here.
