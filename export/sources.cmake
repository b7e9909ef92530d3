# Sources of export/ are added here.
