/* Does nothing but end with 7: whether Wine can start a program of this
   build's architecture at all, apart from anything of ours. */
int main(void) { return 7; }
