package visualizador.pagina;

/** A font for tests whose every character is half an em wide: 3.5 pt at the body's 7 pt. */
record FonteMeioEme(String nome) implements Metrica {
    FonteMeioEme() {
        this("");
    }

    @Override
    public float largura(char c) {
        return 500;
    }

    @Override
    public float largura(CharSequence s) {
        return 500f * s.length();
    }

    @Override
    public float largura(CharSequence s, float maximo) {
        return largura(s);
    }

    @Override
    public float largura(CharSequence s, int inicio, int fim) {
        return 500f * (fim - inicio);
    }

    @Override
    public int caber(CharSequence s, int inicio, float maximo) {
        return Math.min(s.length(), inicio + (int) (maximo / 500));
    }
}
