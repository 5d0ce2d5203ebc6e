package visualizador.janela;

import java.awt.Color;
import java.awt.Dimension;
import java.awt.Graphics;
import java.awt.image.BufferedImage;
import javax.swing.JComponent;

/** The current page on a grey desk: its image once drawn, a blank sheet of the same size until then. */
final class PaginaVisualizada extends JComponent {
    static final int MARGEM = 12;
    private static final Color MESA = new Color(0x80, 0x80, 0x80);
    private static final Color SOMBRA = new Color(0x50, 0x50, 0x50);

    private BufferedImage imagem;
    private int largura = 1;
    private int altura = 1;

    PaginaVisualizada() {
        setName("pagina");
        setOpaque(true);
        setFocusable(true);
    }

    /** The sheet's size in pixels, and its image when already drawn (null: not yet). */
    void mostrar(int largura, int altura, BufferedImage imagem) {
        this.largura = Math.max(1, largura);
        this.altura = Math.max(1, altura);
        this.imagem = imagem;
        revalidate();
        repaint();
    }

    void imagem(BufferedImage imagem) {
        this.imagem = imagem;
        repaint();
    }

    BufferedImage imagem() {
        return imagem;
    }

    @Override
    public Dimension getPreferredSize() {
        return new Dimension(largura + 2 * MARGEM, altura + 2 * MARGEM);
    }

    @Override
    protected void paintComponent(Graphics g) {
        g.setColor(MESA);
        g.fillRect(0, 0, getWidth(), getHeight());
        final int x = Math.max(MARGEM, (getWidth() - largura) / 2);
        final int y = Math.max(MARGEM, (getHeight() - altura) / 2);
        g.setColor(SOMBRA);
        g.fillRect(x + 3, y + 3, largura, altura);
        if (imagem != null) {
            g.drawImage(imagem, x, y, largura, altura, null);
        } else {
            g.setColor(Color.WHITE);
            g.fillRect(x, y, largura, altura);
        }
    }
}
